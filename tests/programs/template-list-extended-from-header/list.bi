' list.bi: a growable list with a constructor, destructor, operators and a property.

template List
  items(Any) As t1
  count As Integer
  Declare Constructor()
  Declare Constructor(ByRef other As List)
  Declare Destructor()
  Declare Operator Let(ByRef other As List)
  Declare Sub add(ByRef v As t1)
  Declare Property item(ByVal i As Integer) As t1
  Declare Property item(ByVal i As Integer, ByRef v As t1)
  Declare Operator [](ByVal i As Integer) ByRef As t1
end template

Constructor List()
End Constructor

Constructor List(ByRef other As List)
  This = other
End Constructor

Destructor List()
  Erase items
End Destructor

Operator List.Let(ByRef other As List)
  If @other = @This Then Exit Operator
  Erase items : count = 0
  For i As Integer = 0 To other.count - 1
    add(other.items(i))
  Next
End Operator

Sub List.add(ByRef v As t1)
  If count > UBound(items) Then ReDim Preserve items(count * 2 + 3)
  items(count) = v
  count += 1
End Sub

Property List.item(ByVal i As Integer) As t1
  Return items(i)
End Property

Property List.item(ByVal i As Integer, ByRef v As t1)
  items(i) = v
End Property

Operator List.[](ByVal i As Integer) ByRef As t1
  Return items(i)
End Operator
