' scoreboard.bi: a player keeps every score of a game on a stack.

#include once "stack.bi"

Type Player
  name As String
  scores As Stack<<<integer>>>
  Declare Sub record(ByVal points As Integer)
  Declare Function best() As Integer
End Type

Sub Player.record(ByVal points As Integer)
  scores.push(points)
End Sub

Function Player.best() As Integer
  Dim result As Integer = 0
  For i As Integer = 0 To scores.count - 1
    If scores.items(i) > result Then result = scores.items(i)
  Next
  Return result
End Function
