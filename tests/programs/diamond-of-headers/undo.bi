' undo.bi: the numbers of the lines that were changed, most recent last.

#include once "stack.bi"

Dim Shared undoLines As Stack<<<Integer>>>

Sub changed(ByVal lineNo As Integer)
  undoLines.push(lineNo)
End Sub
