' A parent of data only may name its fields with keywords, as a list node
' names its link "next". Those that a property may be named by (len, data,
' name, str) are reached on the extending type as usual; the others (next,
' type, step) through its parent.

Type Node
  data As Integer
  len As Integer
  name As ZString * 16
  str As ZString * 4
  next As Node Ptr
  type As Integer
  step As Integer
End Type

Type TaggedNode Extends Node
  tag As String
End Type

Dim first As Node
first.data = 10
first.name = "first"

Dim t As TaggedNode
t.data = 20
t.len = 2
t.name = "tagged"
t.str = "s"
t.tag = "red"
t.parent.next = @first
t.parent.type = 3
t.parent.step += 4

Print t.data, t.len, t.name, t.str, t.tag
Print t.parent.next->name, t.parent.next->data, t.parent.type, t.parent.step
Dim p As Node Ptr = t.parent.next
While p
  Print p->name;
  p = p->next
Wend
Print
