' Members written without brackets, as FreeBASIC allows when there are no
' parameters: "function Shape.area as integer", "property Shape.size as
' integer", "sub Shape.reset", some with a comment after the header. An
' extending type gets each of them.

Type Shape
  x As Integer
  Declare Function area As Integer
  Declare Property size As Integer
  Declare Sub reset
  Declare Function label As String
End Type

Function Shape.area As Integer   ' twice x (a stand-in)
  Return x * 2
End Function

Property Shape.size As Integer
  Return x + 1
End Property

Sub Shape.reset ' back to zero
  x = 0
End Sub

Function Shape.label() As String
  Return "shape of " & x
End Function

Type Circle Extends Shape
  r As Integer
End Type

Dim c As Circle
c.x = 4
Print c.area; c.area(); c.size
Print c.label
c.reset
Print c.x; c.size
