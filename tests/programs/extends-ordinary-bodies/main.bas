' Ordinary use: constructors and destructors, operators, properties,
' arrays of extending types, byref parameters, a nested type field.

Type Vec
  x As Double
  y As Double
  Declare Constructor()
  Declare Constructor(ByVal x_ As Double, ByVal y_ As Double)
  Declare Operator Cast() As String
  Declare Operator += (ByRef o As Vec)
End Type

Constructor Vec()
End Constructor

Constructor Vec(ByVal x_ As Double, ByVal y_ As Double)
  x = x_ : y = y_
End Constructor

Operator Vec.Cast() As String
  Return "(" & x & ", " & y & ")"
End Operator

Operator Vec.+= (ByRef o As Vec)
  x += o.x : y += o.y
End Operator

Operator + (ByRef a As Vec, ByRef b As Vec) As Vec
  Return Vec(a.x + b.x, a.y + b.y)
End Operator

Dim Shared made As Integer
Dim Shared gone As Integer

Type Body
  pos As Vec
  mass As Double = 1
  Declare Constructor()
  Declare Destructor()
  Declare Property weight() As Double
  Declare Property weight(ByVal w As Double)
  Declare Sub push(ByRef by As Vec)
  Declare Function where() As String
End Type

Constructor Body()
  made += 1
End Constructor

Destructor Body()
  gone += 1
End Destructor

Property Body.weight() As Double
  Return mass * 9.81
End Property

Property Body.weight(ByVal w As Double)
  mass = w / 9.81
End Property

Sub Body.push(ByRef by As Vec)
  pos += by
End Sub

Function Body.where() As String
  Return pos
End Function

Type Ball Extends Body
  radius As Double
  Declare Sub roll(ByVal n As Integer)
End Type

Sub Ball.roll(ByVal n As Integer)
  For i As Integer = 1 To n
    push(Vec(1, 0))
  Next
End Sub

Sub grow(ByRef b As Ball, ByVal by As Double)
  b.radius += by
  b.parent.mass *= 2
End Sub

Scope
  Dim balls(1 To 3) As Ball
  For i As Integer = 1 To 3
    balls(i).radius = i
    balls(i).roll(i)
    balls(i).weight = 9.81 * i
  Next
  grow(balls(2), 0.5)
  For i As Integer = 1 To 3
    Print balls(i).where(); balls(i).radius; balls(i).mass; balls(i).weight
  Next
  balls(1).pos.y = 7
  Print balls(1).where(), "made"; made
End Scope
Print "gone"; gone
