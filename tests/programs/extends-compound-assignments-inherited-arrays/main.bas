' Compound assignments to elements of an inherited array field.
Type Person
  name_ As String
  visits(1 To 3) As Integer
  tags(0 To 1) As String
End Type

Type Customer Extends Person
  order As String
  Declare Sub visit(ByVal part As Integer)
End Type

Sub Customer.visit(ByVal part As Integer)
  visits(part) += 1
  this.tags(0) &= "v"
End Sub

Dim c As Customer
Dim cs(1 To 2) As Customer
Dim p As Customer Ptr = @cs(2)
Dim As Integer i = 1, clock = 30

c.visits(1) += 1
c.visit(1) : c.visit(3)
cs(i).visits(1 + clock \ 21) += 5
With cs(2)
  .visits(3) -= 2
  .tags(1) &= "vip"
End With
p->visits(3) *= 4
If i = 1 Then c.visits(2) += 10 Else c.visits(2) -= 10
Print c.visits(1); c.visits(2); c.visits(3); " "; c.tags(0)
Print cs(1).visits(2); cs(2).visits(3); " "; cs(2).tags(1)
