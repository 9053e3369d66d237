' Comparison operators and a cast written for one instance of a template,
' and instances met in select case.

Template Pair
  a As t1
  b As t1
  Declare Operator Cast() As String
End Template

Operator Pair.Cast() As String
  Return "(" & a & ", " & b & ")"
End Operator

Operator = (ByRef l As Pair<<<Integer>>>, ByRef r As Pair<<<Integer>>>) As Integer
  Return l.a = r.a AndAlso l.b = r.b
End Operator

Operator <> (ByRef l As Pair<<<Integer>>>, ByRef r As Pair<<<Integer>>>) As Integer
  Return Not (l = r)
End Operator

Operator < (ByRef l As Pair<<<Integer>>>, ByRef r As Pair<<<Integer>>>) As Integer
  If l.a <> r.a Then Return l.a < r.a
  Return l.b < r.b
End Operator

Function total(ByRef p As Pair<<<Integer>>>) As Integer
  Return p.a + p.b
End Function

Dim p As Pair<<<Integer>>>
Dim q As Pair<<<Integer>>>
p.a = 1 : p.b = 2
q.a = 1 : q.b = 3
Print p = q, p <> q, p < q, q < p
Print "p is " & p; " q is "; Str(q)
Select Case total(q)
Case 4
  Print "four"
Case Else
  Print "other"
End Select
Dim r As Pair<<<String>>>
r.a = "x" : r.b = "y"
Select Case Str(r)
Case "(x, y)"
  Print "r matches"
End Select
Dim s As Pair<<<Integer>>> = q
Select Case -1
Case s < p
  Print "s before p"
Case s = q
  Print "s is q"
End Select
