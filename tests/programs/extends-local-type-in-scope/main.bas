' A type declared inside a scope block extends a module-level type, as
' FreeBASIC allows; another family at module level uses fbext's extends.

Type Shape
  x As Integer
  Declare Sub move(ByVal dx As Integer)
End Type

Sub Shape.move(ByVal dx As Integer)
  x += dx
End Sub

Type Counter
  n As Integer
  Declare Sub bump()
End Type

Sub Counter.bump()
  n += 1
End Sub

Type Clicks Extends Counter
  label As String
End Type

Scope
  Type Box Extends Shape
    w As Integer
  End Type
  Dim b As Box
  b.w = 4
  b.move(5)
  Print b.w; b.x
End Scope

Dim c As Clicks
c.label = "clicks"
c.bump() : c.bump()
Print c.label; c.n; c.parent.n
