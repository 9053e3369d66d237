' Type extension in a file that also has what type blocks are not: type
' aliases (of a number and of a procedure pointer), an enum, a union, and
' types in a namespace, one of which extends another.

Type Amount As Integer
Type Callback As Sub(ByVal n As Integer)

Enum Colour
  red
  green = 5
  blue
End Enum

Union Cell
  i As Integer
  s As Single
End Union

Type Paint
  hue As Colour
  total As Amount
  onChange As Callback
  Declare Sub add(ByVal n As Amount)
  Declare Function info() As String
End Type

Sub Paint.add(ByVal n As Amount)
  total += n
  If onChange Then onChange(total)
End Sub

Function Paint.info() As String
  Return "hue=" & hue & " total=" & total
End Function

Type Tin Extends Paint
  litres As Amount
End Type

Namespace Geo
  Type Shape
    x As Integer
    Declare Sub move(ByVal dx As Integer)
  End Type
  Sub Shape.move(ByVal dx As Integer)
    x += dx
  End Sub
  Type Circle Extends Shape
    r As Integer
  End Type
End Namespace

Sub changed(ByVal n As Integer)
  Print "now"; n
End Sub

Dim t As Tin
t.hue = blue
t.onChange = @changed
t.add(40)
t.litres = 2
Print t.info(); t.litres

Dim u As Cell
u.i = 7
Print u.i

Dim c As Geo.Circle
c.x = 1
c.move(4)
c.r = 2
Print c.x; c.r
