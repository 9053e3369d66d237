' A template that keeps pointers to its element type in another template's
' instance ("List<<<t1 ptr>>>"), used with element types that FreeBASIC
' cannot follow with "ptr" as written: a procedure type, which would take
' the "ptr" into its result, and a fixed-length string, which refuses it.
template List
  items(0 to 3) as t1
  count as integer
  declare sub add(byval v as t1)
end template

sub List.add(byval v as t1)
  items(count) = v
  count += 1
end sub

template Registry
  slots as List<<<t1 ptr>>>
  last as List<<<t1 pointer>>> ptr
  declare sub enlist(byval p as t1 ptr)
end template

sub Registry.enlist(byval p as t1 ptr)
  slots.add(p)
end sub

function seven() as long
  return 7
end function

function eight() as long
  return 8
end function

dim f1 as function() as long = @seven
dim f2 as function() as long = @eight
dim calls as Registry<<<function() as long>>>
calls.enlist(@f1)
calls.enlist(@f2)
for i as integer = 0 to calls.slots.count - 1
  print (*calls.slots.items(i))();
next
print

dim a as zstring * 8 = "north"
dim b as zstring * 8 = "south"
dim words as Registry<<<zstring * 8>>>
words.enlist(@a)
words.enlist(@b)
b = "east"
print *words.slots.items(0); " "; *words.slots.items(1); words.slots.count
words.last = @words.slots
print *words.last->items(1)
