' queue.bi: a first-in, first-out queue. Queue<<<integer>>> is a queue of
' integers; write Queue<<<T>>> for a queue of any type T declared before it.

template Queue
  items(Any) As t1
  first As Integer
  last As Integer
  Declare Sub add(ByVal value As t1)   ' keeps a copy, like Queue<<<t1>>> would
  Declare Function take() As t1
end template

/' An older version, kept for reference:
   Dim Shared spare As Queue<<<Old>>>
   /' with a nested comment: Queue<<<Nested>>> '/
   Print "Queue<<<x>>>"
'/

Sub Queue.add(ByVal value As t1)
  If last > UBound(items) Then ReDim Preserve items(last * 2 + 3)
  items(last) = value
  last += 1
End Sub

Function Queue.take() As t1
  first += 1
  Return items(first - 1)
End Function
