' A parts inventory kept the procedural way: generic cells and word lists
' inside ordinary types and shared arrays, with fixed-length and wide strings
' and 64-bit counters, handed to subs as any ptr and cast back with cptr.
#define NAMES_CAP 4

template Cell
  value as t1
  hits as ulongint
  declare sub store(byref v as t1)
  declare function fetch() as t1
end template

sub Cell.store(byref v as t1)
  value = v
  hits += 1
end sub

function Cell.fetch() as t1
  hits += 1
  return value
end function

' Fixed-length strings cannot be passed byref or returned, so text goes in
' as a wide string and comes out as a string.
template Text
  buf as t1
  hits as ulongint
  declare sub store(byref v as const wstring)
  declare function fetch() as string
end template

sub Text.store(byref v as const wstring)
  buf = v
  hits += 1
end sub

function Text.fetch() as string
  hits += 1
  return str(buf)
end function

template Names
  items(0 to NAMES_CAP - 1) as t1
  used as integer
  declare sub add(byref s as const wstring)
  declare function find(byref s as const wstring) as integer
  declare function firstPtr() as t1 ptr
end template

sub Names.add(byref s as const wstring)
  if used < NAMES_CAP then items(used) = s : used += 1
end sub

function Names.find(byref s as const wstring) as integer
  for i as integer = 0 to used - 1
    if items(i) = s then return i
  next
  return -1
end function

function Names.firstPtr() as t1 ptr
  return @items(0)
end function

template Pair
  first as Cell<<<t1>>>
  second as Cell<<<t2>>>
end template

type Part
  id as integer
  label as Text<<<zstring * 12>>>
  wide as Text<<<wstring * 8>>>
  stock as Cell<<<ulongint>>>
end type

dim shared parts(1 to 3) as Part
dim shared narrow as Names<<<zstring * 6>>>
dim shared wide as Names<<<wstring * 6>>>

sub bump(byval p as any ptr, byval n as ulongint)
  dim c as Cell<<<ulongint>>> ptr = cptr(Cell<<<ulongint>>> ptr, p)
  c->store(c->value + n)
end sub

sub rename(byval p as any ptr, byref s as string)
  cptr(Text<<<zstring * 12>>> ptr, p)->store(wstr(s))
end sub

sub setup()
  for i as integer = 1 to 3
    parts(i).id = i
    rename(@parts(i).label, "part#" & i)
    parts(i).wide.store(wstr("w" & i))
    parts(i).stock.store(4000000000ull * i)
  next
end sub

sub show()
  for i as integer = 1 to 3
    with parts(i)
      print .id; " "; .label.fetch(); " "; .wide.fetch(); .stock.value; .label.hits
    end with
  next
end sub

sub load(byval which as any ptr, byval isWide as boolean)
  dim words(...) as string = {"alpha", "beta", "gamma", "delta", "extra"}
  for i as integer = 0 to ubound(words)
    if isWide then
      cptr(Names<<<wstring * 6>>> ptr, which)->add(wstr(words(i)))
    else
      cptr(Names<<<zstring * 6>>> ptr, which)->add(wstr(words(i)))
    end if
  next
end sub

setup()
bump(@parts(2).stock, 18446744073709551615ull - 8000000000ull)
rename(@parts(3).label, "a very long label")
show()
print "label len"; len(parts(3).label.buf); " size"; sizeof(Text<<<zstring * 12>>>)
print "wide size"; sizeof(Text<<<wstring * 8>>>) = 8 * len(wstring) + sizeof(ulongint)
print offsetof(Part, label); offsetof(Part, stock) - offsetof(Part, wide); offsetof(Cell<<<ulongint>>>, hits)

load(@narrow, false)
load(@wide, true)
print narrow.used; wide.used; narrow.find("gamma"); wide.find("delta"); narrow.find("extra")
dim z as zstring ptr = narrow.firstPtr()
print *narrow.firstPtr(); " "; *(z + 6); " "; len(*wide.firstPtr()); sizeof(narrow); sizeof(wide)

dim pr as Pair<<<string, double>>>
pr.first.store("pi")
pr.second.store(3.25)
print pr.first.fetch(); pr.second.fetch(); pr.first.hits + pr.second.hits
dim pp as Pair<<<integer, string>>> ptr = new Pair<<<integer, string>>>
pp->first.store(7) : pp->second.store("seven")
print pp->first.value; " "; pp->second.value; offsetof(Pair<<<integer, string>>>, second)
delete pp
