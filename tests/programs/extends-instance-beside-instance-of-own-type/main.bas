' A meter extends the box of integers while a box of points stands beside it:
' both boxes name their field value, and += works on each.
type Point
  x as integer
  y as integer
end type
operator + (byref a as Point, byref b as Point) as Point
  return type(a.x + b.x, a.y + b.y)
end operator
template Box
  value as t1
  declare function get() as t1
end template
function Box.get() as t1
  return value
end function

type Meter extends Box<<<integer>>>
  unit as string
end type
type Tagged extends Box<<<string>>>
end type

dim bp as Box<<<Point>>>
dim m as Meter
m.value = 10
m.value += 5
bp.value += type<Point>(1, 2)
bp.value += type<Point>(1, 2)
dim t as Tagged
t.value = "a"
t.value &= "b"
print m.value; m.get(); bp.value.x; bp.value.y; " "; t.get()
