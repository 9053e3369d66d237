' stack.bi: a small generic stack.

template Stack
  items(Any) As t1
  count As Integer
  Declare Sub push(ByVal value As t1)
  Declare Function pop() As t1
end template

Sub Stack.push(ByVal value As t1)
  If count > UBound(items) Then ReDim Preserve items(count * 2 + 3)
  items(count) = value
  count += 1
End Sub

Function Stack.pop() As t1
  count -= 1
  Return items(count)
End Function
