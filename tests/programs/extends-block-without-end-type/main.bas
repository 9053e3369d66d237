' The Circle's block lacks its "End Type": the compiler must see every line
' from the type line on and stop at the first one a type cannot hold, rather
' than build a program that prints nothing.

Type Shape
  name As String
  Declare Function describe() As String
End Type

Function Shape.describe() As String
  Return "shape " & name
End Function

Type Circle Extends Shape
  radius As Double
  Declare Function area() As Double

Function Circle.area() As Double
  Return 3.14159 * radius * radius
End Function

Dim c As Circle
c.name = "wheel"
c.radius = 2
Print c.describe(); " of area"; c.area()
