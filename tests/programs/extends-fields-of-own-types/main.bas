' A parent whose fields are of the program's own types: a Point, an array
' of Points, and a template instance. Writing a field of such a field through
' the extending type changes the parent's own, as it does on the parent.

Type Point
  x As Integer
  y As Integer
End Type

Template Pair
  a As t1
  b As t1
End Template

Type Sprite
  pos As Point
  trail(0 To 2) As Point
  size As Pair<<<Integer>>>
  name As String
  Declare Function where() As String
End Type

Function Sprite.where() As String
  Return name & " at " & pos.x & "," & pos.y & " size " & size.a & "x" & size.b
End Function

Type Player Extends Sprite
  lives As Integer
End Type

Dim p As Player
p.name = "hero"
p.pos.x = 3
p.pos.y = 4
p.trail(1).x = 7
p.size.a = 16
p.size.b = 32
p.lives = 3
Print p.where()
Print p.trail(1).x; p.trail(0).x; p.lives

Dim q As Point
q.x = 10 : q.y = 20
p.pos = q
p.trail(2) = q
Print p.pos.x + p.pos.y; p.trail(2).y
