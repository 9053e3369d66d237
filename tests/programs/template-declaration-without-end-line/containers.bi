' containers.bi: a box not used yet, whose declaration lacks "end template",
' and a stack; the end line found belongs to the stack.

template Box
  value As t1
  Declare Function get_() As t1

template Stack
  items(Any) As t1
  count As Integer
  Declare Sub push(ByVal v As t1)
end template

Sub Stack.push(ByVal v As t1)
  ReDim Preserve items(count)
  items(count) = v
  count += 1
End Sub
