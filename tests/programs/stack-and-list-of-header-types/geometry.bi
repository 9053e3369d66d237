' geometry.bi: points, and labels placed at them.

Type Point
  x As Integer
  y As Integer
End Type

Type Label
  text As String
  at As Point
End Type
