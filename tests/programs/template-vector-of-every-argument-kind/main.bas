' A growable vector over a dynamic array field (redim preserve, ubound,
' erase), with a byref result, an indexed property, [] and a member taking a
' procedure pointer, used with numbers of every width, an enum, a type alias,
' a procedure type alias and a counted type: Tracked is made and destroyed as
' often as with the same vector written by hand.
type Tracked
  id as integer
  static made as integer
  static gone as integer
  declare constructor()
  declare constructor(byval i as integer)
  declare constructor(byref o as Tracked)
  declare destructor()
  declare operator let(byref o as Tracked)
  declare operator cast() as string
end type
dim Tracked.made as integer
dim Tracked.gone as integer
constructor Tracked()
  made += 1
end constructor
constructor Tracked(byval i as integer)
  id = i : made += 1
end constructor
constructor Tracked(byref o as Tracked)
  id = o.id : made += 1
end constructor
destructor Tracked()
  gone += 1
end destructor
operator Tracked.let(byref o as Tracked)
  id = o.id
end operator
operator Tracked.cast() as string
  return "T" & id
end operator
operator = (byref a as Tracked, byref b as Tracked) as integer
  return a.id = b.id
end operator

enum Color
  cRed = 1
  cGreen
  cBlue
end enum
type Money as longint
type Check as function(byref as integer) as boolean

template Vector
  items(any) as t1
  count as integer
  declare sub push(byref v as t1)
  declare function get(byval i as integer) byref as t1
  declare property item(byval i as integer) as t1
  declare property item(byval i as integer, byref v as t1)
  declare operator [](byval i as integer) byref as t1
  declare sub clear()
  declare function capacity() as integer
  declare function countIf(byval fn as function(byref as t1) as boolean) as integer
  declare function indexOf(byref v as t1) as integer
end template

sub Vector.push(byref v as t1)
  if count > ubound(items) then
    redim preserve items(count * 2 + 1)
  end if
  items(count) = v
  count += 1
end sub

function Vector.get(byval i as integer) byref as t1
  return items(i)
end function

property Vector.item(byval i as integer) as t1
  return items(i)
end property

property Vector.item(byval i as integer, byref v as t1)
  items(i) = v
end property

operator Vector.[](byval i as integer) byref as t1
  return items(i)
end operator

sub Vector.clear()
  erase items
  count = 0
end sub

function Vector.capacity() as integer
  return ubound(items) + 1
end function

function Vector.countIf(byval fn as function(byref as t1) as boolean) as integer
  dim n as integer
  for i as integer = 0 to count - 1
    if fn(items(i)) then n += 1
  next
  return n
end function

function Vector.indexOf(byref v as t1) as integer
  for i as integer = 0 to count - 1
    if items(i) = v then return i
  next
  return -1
end function

function isEven(byref n as integer) as boolean
  return (n and 1) = 0
end function
function isBlue(byref c as Color) as boolean
  return c = cBlue
end function
function isSmall(byref n as integer) as boolean
  return n < 3
end function

scope
  dim v as Vector<<<integer>>>
  for i as integer = 1 to 6
    v.push(i * i)
  next
  (v.get(0)) = 100
  v[1] += 1
  v.item(2) = v.item(2) * 2
  print v.count; v.capacity(); v[0]; v[1]; v.item(2); v.countIf(@isEven); v.indexOf(16)
  v.clear()
  print v.count; v.capacity()
end scope

scope
  dim u as Vector<<<unsigned long>>>
  dim x as unsigned long = 4000000000
  u.push(x)
  dim ll as Vector<<<longint>>>
  dim y as longint = -9000000000
  ll.push(y)
  dim ul as Vector<<<ulongint>>>
  dim z as ulongint = 18000000000000000000ull
  ul.push(z)
  dim b as Vector<<<boolean>>>
  dim t as boolean = true
  b.push(t)
  dim d as Vector<<<double>>>
  dim e as double = 2.5
  d.push(e)
  print u[0]; " "; ll[0]; " "; ul[0]; " "; b[0]; d[0]
end scope

scope
  dim c as Vector<<<Color>>>
  dim k as Color = cGreen
  c.push(k)
  k = cBlue : c.push(k) : c.push(k)
  print c.count; c[1]; c.countIf(@isBlue)
  dim m as Vector<<<Money>>>
  dim cents as Money = 123456789012
  m.push(cents)
  dim m2 as Vector<<<Money>>> = m
  m2[0] += 1
  print m[0]; m2[0]; sizeof(m2[0])
  dim checks as Vector<<<Check>>>
  dim f as Check = @isEven
  checks.push(f)
  f = @isSmall : checks.push(f)
  dim seven as integer = 2
  print checks[0](seven); " "; checks[1](seven)
end scope

scope
  dim tv as Vector<<<Tracked>>>
  for i as integer = 1 to 3
    tv.push(Tracked(i))
  next
  print tv.count; " "; tv[2]; tv.indexOf(Tracked(2))
  tv.clear()
end scope
print Tracked.made; Tracked.gone
