' Members whose parameters are named like the fields they set, the way
' FreeBASIC code usually writes them: an extending type gets each field as a
' property, and the compiler refuses a member whose parameter has the name of
' one, so the forwarders name those parameters otherwise.

type Point
  x as integer
  y as integer
  values(any) as integer
  declare sub set(byval x as integer, byval y as integer = 0)
  declare function moved(byval x as integer) as integer
  declare sub load(values() as integer)
  declare property offset(byval y as integer) as integer
  declare property offset(byval y as integer, byval x as integer)
end type

sub Point.set(byval x as integer, byval y as integer)
  this.x = x
  this.y = y
end sub

function Point.moved(byval x as integer) as integer
  return this.x + x
end function

sub Point.load(values() as integer)
  redim this.values(lbound(values) to ubound(values))
  for i as integer = lbound(values) to ubound(values)
    this.values(i) = values(i)
  next
end sub

property Point.offset(byval y as integer) as integer
  return this.y + y
end property

property Point.offset(byval y as integer, byval x as integer)
  this.y = y + x
end property

type Dot extends Point
  size as integer
end type

' Three levels: the grandchild's twin has the properties too.
type Mark extends Dot
  label as string
end type

' A member of the root named like a field only a later type declares.
type Base_
  k as integer
  declare sub keep(byval depth as integer)
end type

sub Base_.keep(byval depth as integer)
  k = depth
end sub

type Middle extends Base_
  depth as integer
end type

type Leaf extends Middle
  z as integer
end type

dim d as Dot
d.set(3, 4)
print d.x; d.y; d.moved(10); d.offset(1)
d.offset(5) = 2
print d.y
dim source(1 to 3) as integer = {7, 8, 9}
d.load(source())
print d.values(1); d.values(3)

dim m as Mark
m.set(6)
m.label = "m"
print m.x; m.y; m.moved(1); " "; m.label

dim f as Leaf
f.keep(12) : f.depth = 2 : f.z = 1
print f.k; f.depth; f.z
