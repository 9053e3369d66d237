' containers.bi: a stack and a growable list, each of any type t1.

template Stack
  items(Any) As t1
  count As Integer
  Declare Sub push(ByRef value As t1)
  Declare Function pop() As t1
end template

Sub Stack.push(ByRef value As t1)
  If count > UBound(items) Then ReDim Preserve items(count * 2 + 3)
  items(count) = value
  count += 1
End Sub

Function Stack.pop() As t1
  count -= 1
  Return items(count)
End Function

template List
  items(Any) As t1
  used As Integer
  Declare Sub append(ByRef value As t1)
  Declare Property length() As Integer
end template

Sub List.append(ByRef value As t1)
  If used > UBound(items) Then ReDim Preserve items(used * 2 + 3)
  items(used) = value
  used += 1
End Sub

Property List.length() As Integer
  Return used
End Property
