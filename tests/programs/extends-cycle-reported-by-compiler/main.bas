' Two types that extend each other: no order of the blocks can hold either
' one's parent, so the lines are left as written and the compiler reports the
' first of them, at the line the user wrote and with the names written there.

Type Circle Extends Shape
  r As Integer
End Type

Type Shape Extends Circle
  x As Integer
End Type

Dim c As Circle
c.r = 2
Print c.r
