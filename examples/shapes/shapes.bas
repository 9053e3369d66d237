' shapes.bas: a shape hierarchy three levels deep, written with fbext's
' type extension. Each type's members are declared in its block and
' implemented after it, as in any FreeBASIC program; a type that extends
' another reaches the other's fields and members under their own names.
'   fbc shapes.bas

const PI = 3.14159265358979

type Shape
  x as integer
  y as integer
  declare sub moveBy(byval dx as integer, byval dy as integer)
  declare function position() as string
end type

sub Shape.moveBy(byval dx as integer, byval dy as integer)
  x += dx
  y += dy
end sub

function Shape.position() as string
  return "(" & x & ", " & y & ")"
end function

' A Circle is a Shape with a radius.
type Circle extends Shape
  radius as double
  declare function area() as double
end type

function Circle.area() as double
  return PI * radius * radius
end function

' A Ring is a Circle with a hole. Its extends line comes after Circle's,
' so it reaches Shape's members too.
type Ring extends Circle
  hole as double
  declare function ringArea() as double
end type

function Ring.ringArea() as double
  return area() - PI * hole * hole
end function

dim c as Circle
c.radius = 2
c.moveBy(3, 4)
print "circle at "; c.position(); ", area"; c.area()

dim r as Ring
r.radius = 3
r.hole = 1
r.moveBy(-1, 2)
r.moveBy(1, 1)
print "ring at "; r.position(); ", area"; r.ringArea()

' parent is the part of the ring that is a Circle.
print "the ring's circle has radius"; r.parent.radius
