' b.bas: the history module. It keeps the numbers of the changed lines on a
' stack of integers of its own.

#include once "stack.bi"
#include once "history.bi"

Dim Shared changes As Stack<<<integer>>>

Sub remember(ByVal lineNo As Integer)
  changes.push(lineNo)
End Sub

Function undoLast() As Integer
  If changes.isEmpty() Then Return 0
  Return changes.pop()
End Function

Function changesKept() As Integer
  Return changes.count
End Function
