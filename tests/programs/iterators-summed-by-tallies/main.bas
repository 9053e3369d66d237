' Generic iterators driven by for ... next, summed up by a family of tallies.

template Walk
  value as t1
  declare constructor(byval v as t1 = 0)
  declare operator for()
  declare operator for(byref stp as Walk)
  declare operator next(byref limit as Walk) as integer
  declare operator next(byref limit as Walk, byref stp as Walk) as integer
  declare operator step()
  declare operator step(byref stp as Walk)
end template

constructor Walk(byval v as t1)
  value = v
end constructor

operator Walk.for()
end operator

operator Walk.for(byref stp as Walk)
end operator

operator Walk.next(byref limit as Walk) as integer
  return value <= limit.value
end operator

operator Walk.next(byref limit as Walk, byref stp as Walk) as integer
  if stp.value < 0 then return value >= limit.value
  return value <= limit.value
end operator

operator Walk.step()
  value += 1
end operator

operator Walk.step(byref stp as Walk)
  value += stp.value
end operator

template Bag
  items(0 to 9) as t1
  n as integer
  declare sub put(byval v as t1)
end template

sub Bag.put(byval v as t1)
  items(n) = v
  n += 1
end sub

' walks over a bag by position; the limit is a position too
template BagCursor
  owner as Bag<<<t1>>> ptr
  pos as integer
  declare constructor(byval b as Bag<<<t1>>> ptr = 0, byval p as integer = 0)
  declare operator for()
  declare operator next(byref limit as BagCursor) as integer
  declare operator step()
  declare function item() as t1
end template

constructor BagCursor(byval b as Bag<<<t1>>> ptr, byval p as integer)
  owner = b : pos = p
end constructor

operator BagCursor.for()
end operator

operator BagCursor.next(byref limit as BagCursor) as integer
  return pos < limit.pos
end operator

operator BagCursor.step()
  pos += 1
end operator

function BagCursor.item() as t1
  return owner->items(pos)
end function

type Tally
  count as integer
  total as double
  declare sub add(byval v as double)
  declare function mean() as double
end type

sub Tally.add(byval v as double)
  count += 1
  total += v
end sub

function Tally.mean() as double
  if count = 0 then return 0
  return total / count
end function

type Stats extends Tally
  lowest as double = 1e300
  highest as double = -1e300
  declare sub note(byval v as double)
end type

sub Stats.note(byval v as double)
  add(v)
  if v < lowest then lowest = v
  if v > highest then highest = v
end sub

dim st as Stats
for w as Walk<<<double>>> = Walk<<<double>>>(1) to Walk<<<double>>>(2) step Walk<<<double>>>(0.25)
  print w.value;
  st.note(w.value)
next
print
print "count"; st.count; " mean"; st.mean(); " low"; st.lowest; " high"; st.highest

dim down as Stats
for w as Walk<<<integer>>> = 10 to 0 step -3
  print w.value;
  down.note(w.value)
next
print
print "count"; down.count; " total"; down.total

dim steps as integer
for w as Walk<<<integer>>> = 1 to 5
  steps += w.value
next
print "one by one"; steps

dim words as Bag<<<string>>>
words.put("alpha") : words.put("beta") : words.put("gamma")
dim lengths as Stats
for c as BagCursor<<<string>>> = BagCursor<<<string>>>(@words, 0) to BagCursor<<<string>>>(@words, words.n)
  print c.pos; " "; c.item()
  lengths.note(len(c.item()))
next
print "letters"; lengths.total; " longest"; lengths.highest
lengths.count += 10
print "count now"; lengths.count; " mean"; lengths.mean()
