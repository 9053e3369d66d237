' Static data defined with "dim shared" or "dim as Type Name.member", which
' the compiler takes as it takes "dim Name.member as Type": for a parent that
' another type extends, and for a template.

Type Shape
  x As Integer
  Static made As Integer
  Static lastMove As Integer
  Declare Constructor()
  Declare Static Function count() As Integer
  Declare Sub move(ByVal dx As Integer)
End Type

Dim Shared Shape.made As Integer
Dim As Integer Shape.lastMove = -1

Constructor Shape()
  made += 1
End Constructor

Static Function Shape.count() As Integer
  Return made
End Function

Sub Shape.move(ByVal dx As Integer)
  x += dx
  lastMove = dx
End Sub

Type Circle Extends Shape
  r As Integer
End Type

Template Counter
  value As t1
  Static made As Integer
  Static As String lastNote
  Declare Sub bump(ByVal v As t1)
End Template

dim shared Counter.made as integer = 10
dim shared as string Counter.lastNote

Sub Counter.bump(ByVal v As t1)
  value += v
  made += 1
  lastNote = "bumped by " & v
End Sub

Dim s As Shape
Dim c As Circle
c.move(4)
Print Shape.count(), Circle.count(), c.x, Shape.lastMove

Dim a As Counter<<<Integer>>>
Dim b As Counter<<<Integer>>>
Dim d As Counter<<<Double>>>
a.bump(2) : b.bump(3) : d.bump(0.5)
Print Counter<<<Integer>>>.made, Counter<<<Double>>>.made, a.value + b.value, d.value
Print Counter<<<Integer>>>.lastNote; ", "; Counter<<<Double>>>.lastNote
