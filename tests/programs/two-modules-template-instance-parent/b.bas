' Bonus points, counted in a tally of this module's own.
#include once "tally.bi"

Type Score Extends Tally<<<Integer>>>
  reason As String
End Type

Function bonusPoints() As Integer
  Dim b As Score
  b.reason = "streak"
  b.add(2)
  b.add(3)
  Return b.total
End Function
