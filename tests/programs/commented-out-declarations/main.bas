' Code commented out with /' ... '/, as one keeps an old version for
' reference: a template, its member, a type that extends another and a
' member implementation. None of it counts; the code after it does.

/' The first box, before it counted its items:
Template Box
  item As t1
  Declare Sub show()
End Template

Sub Box.show()
  Print "old box"
End Sub
'/

Template Box ' the box in use
  item As t1
  count As Integer
  Declare Sub show()
End Template

Sub Box.show()
  Print item; count
End Sub

Type Shape
  x As Integer
  Declare Sub move(ByVal dx As Integer)
End Type

Sub Shape.move(ByVal dx As Integer)
  x += dx
End Sub

/' A circle with a radius in floating point, dropped:
Type Circle Extends Shape
  radius As Double
End Type
Sub Shape.old()
End Sub
'/

Type Circle Extends Shape
  r As Integer
End Type

Dim b As Box<<<Integer>>>
b.item = 4
b.count = 2
b.show()

Dim c As Circle
c.move(2)
c.r = 1
Print c.x; c.r
