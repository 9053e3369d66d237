' shapes.bas: the members of the shapes family.
#include once "shapes.bi"
sub Shape.moveBy(byval dx as integer, byval dy as integer)
  x += dx
  y += dy
  history.push(x + y)
end sub

function Shape.describe() as string
  return name & "@" & x & "," & y
end function

function Circle.area() as integer
  return 3 * r * r
end function

function Square.area() as integer
  return side * side
end function
