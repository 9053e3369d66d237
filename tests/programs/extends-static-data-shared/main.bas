' A parent with static data: the count its members keep is one count, whether
' they run on a Shape or, through "parent", on a Circle. Static data is
' reached by its type's name (Shape.made), not through the extending type.

Type Shape
  x As Integer
  Static made As Integer
  Static As String lastKind, firstKind
  Static sizes(0 To 2) As Integer
  Declare Sub register(ByRef kind As String)
  Declare Function report() As String
Private:
  secret As Integer
Public:
  Static calls As Integer
End Type

Dim Shape.made As Integer = 100
Dim Shape.lastKind As String
Dim Shape.firstKind As String
Dim Shape.sizes(0 To 2) As Integer
Dim Shape.calls As Integer

Sub Shape.register(ByRef kind As String)
  Shape.made += 1
  made += 10
  calls += 1
  secret += 1
  If firstKind = "" Then firstKind = kind
  lastKind = kind
End Sub

Function Shape.report() As String
  Return made & " " & calls & " " & secret & " " & firstKind & ".." & lastKind
End Function

Type Circle Extends Shape
  r As Integer
End Type

Type Ring Extends Circle
  inner As Integer
End Type

Dim s As Shape
s.register("shape")
Dim c As Circle
c.register("circle")
Dim g As Ring
g.register("ring")
Print Shape.made; " "; Shape.firstKind; " "; Shape.lastKind
Print s.report()
Print c.report()
Print g.report()
