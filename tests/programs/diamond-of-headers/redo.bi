' redo.bi: the lines taken back, ready to be changed again.

#include once "stack.bi"

Type RedoList
  lines As Stack<<<Integer>>>
  Declare Sub takeBack(ByRef from As Stack<<<Integer>>>)
End Type

Sub RedoList.takeBack(ByRef from As Stack<<<Integer>>>)
  lines.push(from.pop())
End Sub
