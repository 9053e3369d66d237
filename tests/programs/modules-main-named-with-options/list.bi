' list.bi: a growable list of values of type t1, shared by both modules.

template List
  items(Any) As t1
  size As Integer
  Declare Sub add(ByRef v As t1)
  Declare Function joined(ByRef sep As String) As String
end template

Sub List.add(ByRef v As t1)
  ReDim Preserve items(size)
  items(size) = v
  size += 1
End Sub

Function List.joined(ByRef sep As String) As String
  Dim s As String
  For i As Integer = 0 To size - 1
    If i > 0 Then s &= sep
    s &= items(i)
  Next
  Return s
End Function

Declare Function shapeReport(ByVal n As Integer) As String
Declare Function totalArea(values As List<<<Double>>>) As Double
