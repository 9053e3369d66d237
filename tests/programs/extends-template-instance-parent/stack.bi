' A stack of any element type.
Template Stack
  items(0 To 7) As t1
  count As Integer
  Declare Sub push(ByVal v As t1)
  Declare Function pop() As t1
End Template

Sub Stack.push(ByVal v As t1)
  items(count) = v
  count += 1
End Sub

Function Stack.pop() As t1
  count -= 1
  Return items(count)
End Function
