' Both headers include stack.bi and use Stack<<<Integer>>>; so does this file.

#include once "undo.bi"
#include once "redo.bi"

changed(3) : changed(7) : changed(9)
Dim redo As RedoList
redo.takeBack(undoLines)
redo.takeBack(undoLines)
Dim seen As Stack<<<Integer>>>
seen.push(redo.lines.pop())
Print "undo left:"; undoLines.count; ", redo:"; redo.lines.count; ", seen:"; seen.pop()
