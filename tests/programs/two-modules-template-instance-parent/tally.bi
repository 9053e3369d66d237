' tally.bi: a running total of values of any number type.

Template Tally
  total As t1
  count As Integer
  Declare Sub add(ByVal value As t1)
  Declare Function mean() As Double
End Template

Sub Tally.add(ByVal value As t1)
  total += value
  count += 1
End Sub

Function Tally.mean() As Double
  If count = 0 Then Return 0
  Return total / count
End Function

Declare Function bonusPoints() As Integer
