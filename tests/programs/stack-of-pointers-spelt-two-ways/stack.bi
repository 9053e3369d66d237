' stack.bi: a small generic stack.

template Stack
  items(0 To 7) As t1
  count As Integer
  Declare Sub push(ByVal value As t1)
  Declare Function pop() As t1
end template

Sub Stack.push(ByVal value As t1)
  items(count) = value
  count += 1
End Sub

Function Stack.pop() As t1
  count -= 1
  Return items(count)
End Function
