' A type that extends its parent through an alias of it. This program has no
' fields or members of an alias to forward, so the extends line is left to
' FreeBASIC's own inheritance, which sees through the alias, as the compiler
' alone would compile it.

Type Paint
  total As Integer
  Declare Sub add(ByVal n As Integer)
  Declare Function info() As String
End Type

Sub Paint.add(ByVal n As Integer)
  total += n
End Sub

Function Paint.info() As String
  Return "total=" & total
End Function

Type Coat As Paint

Type Tin Extends Coat
  litres As Integer
End Type

' A type of this program's own extension beside it is not affected.
Type Label
  text As String
End Type

Type Sticker Extends Label
  size As Integer
End Type

Dim t As Tin
t.add(40)
t.add(2)
t.litres = 5
Print t.info(); " litres="; t.litres

Dim s As Sticker
s.text = "wet"
s.size = 3
Print s.text; s.size; " "; s.parent.text
