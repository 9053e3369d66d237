' Const members of extending types read fields of the program's own types
' that they inherit, along a chain too; writes through them stay refused.
type Point
  x as double
  y as double
end type

type Shape
  pos as Point
  corners(0 to 1) as Point
  declare const function describe() as string
end type

const function Shape.describe() as string
  return "at " & pos.x & "," & pos.y
end function

type Circle extends Shape
  r as double
  declare const function leftEdge() as double
  declare const function width() as double
  declare const function label() as string
  declare function moved(byval dx as double) as double
end type

' Declared const in the block, implemented without repeating it.
function Circle.leftEdge() as double
  return pos.x - r
end function

const function Circle.width() as double : return corners(1).x - this.corners(0).x : end function

const function Circle.label() as string
  dim other as Circle
  other.pos.x = 100
  ' pos in a comment, "pos" in a string
  return "pos " & this.pos.y & " " & other.pos.x
end function

function Circle.moved(byval dx as double) as double
  pos.x += dx
  return pos.x
end function

type Ring extends Circle
  thickness as double
  declare const function inner() as double
end type

const function Ring.inner() as double
  return pos.x - r + thickness + corners(0).y
end function

sub show(byref c as const Circle)
  print c.leftEdge(); c.width()
end sub

dim c as Circle
c.pos.x = 5
c.pos.y = 2
c.r = 1.5
c.corners(0).x = 1
c.corners(1).x = 4
print c.leftEdge()
print c.width()
print c.label()
print c.describe()
print c.moved(1)
show(c)

dim g as Ring
g.pos.x = 10
g.r = 3
g.thickness = 0.5
g.corners(0).y = 0.25
print g.inner()
print g.leftEdge(); g.width()
print g.label()
