' A file using both extensions whose only mistake is on its last line,
' which has no line end: the compiler must name this file and that line.
template Box
  v as t1
  declare function get() as t1
end template

function Box.get() as t1
  return v
end function

type Shape
  x as integer
  declare sub move(byval dx as integer)
end type

sub Shape.move(byval dx as integer)
  x += dx
end sub

type Circle extends Shape
  r as integer
end type

dim b as Box<<<integer>>>
b.v = 7
dim c as Circle
c.move(b.get())
print c.x +