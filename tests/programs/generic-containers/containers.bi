' containers.bi: two small generic containers.
'
' Each is written once, with t1 standing for the type of its elements. A
' program names the element type where it declares a container and gets a
' concrete type for it.

' A last-in, first-out stack that grows as values are pushed.
template Stack
  items(Any) As t1
  count As Integer
  Declare Sub push(ByVal value As t1)
  Declare Function pop() As t1
  Declare Function top() As t1
  Declare Function isEmpty() As Boolean
end template

Sub Stack.push(ByVal value As t1)
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

Function Stack.top() As t1
  Return items(count - 1)
End Function

Function Stack.isEmpty() As Boolean
  Return count = 0
End Function

' A list that keeps its values in the order they were added.
template List
  items(Any) As t1
  used As Integer
  Declare Sub add(ByVal value As t1)
  Declare Function getAt(ByVal index As Integer) As t1
  Declare Sub setAt(ByVal index As Integer, ByVal value As t1)
  Declare Function indexOf(ByVal value As t1) As Integer
  Declare Property size() As Integer
end template

Sub List.add(ByVal value As t1)
  If used > UBound(items) Then
    ReDim Preserve items(used * 2 + 3)
  End If
  items(used) = value
  used += 1
End Sub

Function List.getAt(ByVal index As Integer) As t1
  Return items(index)
End Function

Sub List.setAt(ByVal index As Integer, ByVal value As t1)
  items(index) = value
End Sub

Function List.indexOf(ByVal value As t1) As Integer
  For i As Integer = 0 To used - 1
    If items(i) = value Then Return i
  Next
  Return -1
End Function

Property List.size() As Integer
  Return used
End Property
