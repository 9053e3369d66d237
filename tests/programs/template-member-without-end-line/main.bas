' A Pair template not used yet, whose show() lacks its "End Function": the
' end line found further down belongs to twice(). The build must stop and say
' so, rather than drop the lines in between with the unused template and
' build a program that never prints "starting".

template Pair
  first As t1
  second As t2
  Declare Function show() As String
end template

Function Pair.show() As String
  Return "(" & first & ", " & second & ")"

Print "starting"

Function twice(ByVal n As Integer) As Integer
  Return n * 2
End Function

Print "done"
