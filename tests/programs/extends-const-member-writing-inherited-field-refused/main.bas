type Point
  x as double
end type

type Shape
  pos as Point
end type

type Circle extends Shape
  r as double
  declare const sub nudge()
end type

const sub Circle.nudge()
  pos.x = pos.x + 1
end sub

dim c as Circle
c.nudge()
print c.pos.x
