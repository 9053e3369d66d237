' The library's module, in a folder whose name holds a blank.
#include once "box.bi"

type Shape
  x as integer
  declare function area() as integer
end type

function Shape.area() as integer
  return x * x
end function

type Square extends Shape
  label as string
end type

function totalArea(byval count as integer) as integer
  dim sq as Square
  sq.x = 3
  dim b as Box<<<integer>>>
  b.value = sq.area()
  return b.get() * count
end function
