' geometry.bi: points on a grid.

Type Point
  x As Integer
  y As Integer
  Declare Function describe() As String
End Type

Function Point.describe() As String
  Return "(" & x & ", " & y & ")"
End Function
