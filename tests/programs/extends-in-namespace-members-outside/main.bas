' Shapes kept in a namespace, their members implemented after it with the
' namespace in front of the type's name.

Namespace Geo
  Type Shape
    x As Integer
    Declare Sub move(ByVal dx As Integer)
    Declare Function describe() As String
  End Type
  Type Circle Extends Shape
    r As Integer
    Declare Function area() As Integer
  End Type
End Namespace

Sub Geo.Shape.move(ByVal dx As Integer)
  x += dx
End Sub

Function Geo.Shape.describe() As String
  Return "at " & x
End Function

Function Geo.Circle.area() As Integer
  Return 3 * r * r
End Function

Dim c As Geo.Circle
c.move(4)
c.r = 2
Print c.area(); c.x; " "; c.describe()
