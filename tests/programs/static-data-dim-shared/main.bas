' Static data defined with "dim shared", which the compiler takes as it takes
' "dim": for a parent that another type extends, and for a template.

Type Shape
  x As Integer
  Static made As Integer
  Declare Constructor()
  Declare Static Function count() As Integer
  Declare Sub move(ByVal dx As Integer)
End Type

Dim Shared Shape.made As Integer

Constructor Shape()
  made += 1
End Constructor

Static Function Shape.count() As Integer
  Return made
End Function

Sub Shape.move(ByVal dx As Integer)
  x += dx
End Sub

Type Circle Extends Shape
  r As Integer
End Type

Template Counter
  value As t1
  Static made As Integer
  Declare Sub bump(ByVal v As t1)
End Template

dim shared Counter.made as integer = 10

Sub Counter.bump(ByVal v As t1)
  value += v
  made += 1
End Sub

Dim s As Shape
Dim c As Circle
c.move(4)
Print Shape.count(), Circle.count(), c.x

Dim a As Counter<<<Integer>>>
Dim b As Counter<<<Integer>>>
Dim d As Counter<<<Double>>>
a.bump(2) : b.bump(3) : d.bump(0.5)
Print Counter<<<Integer>>>.made, Counter<<<Double>>>.made, a.value + b.value, d.value
