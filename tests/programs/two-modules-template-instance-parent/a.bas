' Scores kept by this module: a tally of integers with a name.
#include once "tally.bi"

Type Score Extends Tally<<<Integer>>>
  player As String
  Declare Sub show()
End Type

Sub Score.show()
  Print player; ":"; total; " in"; count; " rounds, mean"; mean()
End Sub

Dim s As Score
s.player = "ann"
s.add(7)
s.add(bonusPoints())
s.show()
Print s.parent.total
