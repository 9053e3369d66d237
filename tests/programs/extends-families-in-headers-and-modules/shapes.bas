#include once "circle.bi"
sub Shape.move(byval dx as integer)
  x += dx
end sub

function Shape.describe() as string
  return name & " at " & x
end function

function Circle.area() as integer
  return 3 * r * r
end function

function unitCircle() as Circle
  dim c as Circle
  c.name = "unit"
  c.r = 1
  return c
end function
