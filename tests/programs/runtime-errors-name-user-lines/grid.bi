' grid.bi: a fixed row of four cells of any type.

template Row
  cells(0 To 3) As t1
  Declare Function at(ByVal i As Integer) As t1
  Declare Sub put(ByVal i As Integer, ByRef v As t1)
end template

Function Row.at(ByVal i As Integer) As t1
  Return cells(i)
End Function

Sub Row.put(ByVal i As Integer, ByRef v As t1)
  cells(i) = v
End Sub
