' stack.bi: a generic stack; t1 is the type of the values it holds.

template Stack
  items(Any) As t1
  count As Integer
  Declare Sub push(ByRef value As t1)
  Declare Function pop() As t1
  Declare Function isEmpty() As Boolean
end template

Sub Stack.push(ByRef value As t1)
  If count > UBound(items) Then
    ReDim Preserve items(count * 2 + 3)
  End If
  items(count) = value
  count += 1
End Sub

Function Stack.pop() As t1
  count -= 1
  Return items(count)
End Function

Function Stack.isEmpty() As Boolean
  Return count = 0
End Function
