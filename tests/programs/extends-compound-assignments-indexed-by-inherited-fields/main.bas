' Compound assignments whose index reads an inherited field.
Type Named
  name_ As String
  id As Long
  hist(0 To 2) As Integer
End Type

Template Setting Extends Named
  value As t1
  Declare Sub set_(ByVal v As t1)
End Template

Sub Setting.set_(ByVal v As t1)
  hist(id Mod 3) += 1
  value = v
  id += 1
End Sub

Type Counter Extends Named
  Declare Sub tick()
End Type

Sub Counter.tick()
  hist(id) *= 2
  this.hist(this.id) += 1
End Sub

Dim s As Setting<<<Double>>>
s.set_(0.5) : s.set_(0.75) : s.set_(1)
s.hist(s.id - 3) += 10
Print s.value; s.id; s.hist(0); s.hist(1); s.hist(2)

Dim c As Counter
Dim cs(0 To 1) As Counter
c.id = 1
c.tick() : c.tick()
cs(c.id - 1).hist(c.id) -= 4
Print c.hist(1); cs(0).hist(1)
