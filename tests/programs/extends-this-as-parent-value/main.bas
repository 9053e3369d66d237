' A parent's members that use "this" as a value of the parent's own type:
' copied, returned, passed byval and byref, its address taken, handed to
' operators, assigned and swapped. The extending type runs them through its
' parent and must get what the parent itself gets. Member access through
' this ("this.x", "with this") and the word in strings and comments stay.

Type Shape
  x As Integer
  Declare Function copy() As Shape
  Declare Function copied() As Shape
  Declare Function self() As Shape Ptr
  Declare Function twiceOf() As Integer
  Declare Sub bumpSelf()
  Declare Function shifted(ByVal n As Integer) As Shape
  Declare Sub takeFrom(ByRef other As Shape)
  Declare Sub trade(ByRef other As Shape)
  Declare Function sameAs(ByRef other As Shape) As Boolean
  Declare Function describe() As String
  Declare Sub showWith()
  Declare Function counted() As Integer
  Declare Static Function tally(ByRef s As Shape) As Integer
  Declare Operator += (ByVal n As Integer)
  Declare Sub addTwice(ByVal n As Integer)
Private:
  hidden As Integer = 7
End Type

Operator + (ByRef a As Shape, ByVal n As Integer) As Shape
  Dim r As Shape = a
  r.x += n
  Return r
End Operator

Operator = (ByRef a As Shape, ByRef b As Shape) As Integer
  Return a.x = b.x
End Operator

Sub bump(ByRef s As Shape)
  s.x += 1
End Sub

Function twice(ByVal s As Shape) As Integer
  s.x *= 2
  Return s.x
End Function

Function Shape.copy() As Shape
  Dim s As Shape = This
  Return s
End Function

Function Shape.copied() As Shape
  Return THIS
End Function

Function Shape.self() As Shape Ptr
  Dim p As Shape Ptr = @this
  Function = p
End Function

Function Shape.twiceOf() As Integer
  Return twice(This)
End Function

Sub Shape.bumpSelf()
  bump(This)
End Sub

Function Shape.shifted(ByVal n As Integer) As Shape
  Function = This + n
End Function

Sub Shape.takeFrom(ByRef other As Shape)
  This = other
End Sub

Sub Shape.trade(ByRef other As Shape)
  Swap This, other
End Sub

Function Shape.sameAs(ByRef other As Shape) As Boolean
  Return This = other
End Function

Function Shape.describe() As String
  ' this comment says this and keeps it
  Return "this shape at" & Str(This.x) & " (" & "this" & ") hides" & Str(this.hidden)
End Function

Sub Shape.showWith()
  With This
    Print "with"; .x; .hidden
  End With
End Sub

Function Shape.counted() As Integer
  Return Shape.tally(This)
End Function

Static Function Shape.tally(ByRef s As Shape) As Integer
  Return s.x + 1000
End Function

Operator Shape.+= (ByVal n As Integer)
  x += n
End Operator

Sub Shape.addTwice(ByVal n As Integer)
  This += n : this += n
End Sub

Type Circle Extends Shape
  r As Integer
  Declare Function grown() As Circle
End Type

' Circle's own member uses this as a Circle; Ring runs it through Circle's twin.
Function Circle.grown() As Circle
  Dim c As Circle = This
  c.r += 1
  Return c
End Function

Type Ring Extends Circle
  inner As Integer
End Type

Dim s As Shape
Dim c As Circle
s.x = 21 : c.x = 21
Print s.copy().x, c.copy().x
Print s.copied().x, c.copied().x
Print s.self()->x, c.self()->x, c.self() = @c.parent
Print s.twiceOf(), c.twiceOf(), c.x
s.bumpSelf() : c.bumpSelf()
Print s.x, c.x
Print s.shifted(10).x, c.shifted(10).x
Print s.counted(), c.counted()
s.addTwice(3) : c.addTwice(3)
Print s.x, c.x
Dim other As Shape
other.x = 5
c.takeFrom(other)
Print c.x
other.x = 8
c.trade(other)
Print c.x, other.x
Print c.sameAs(other), c.sameAs(c.copy())
Print s.describe()
Print c.describe()
c.showWith()
Dim g As Ring
g.x = 2 : g.r = 9
Print g.grown().r, g.grown().x, g.r
