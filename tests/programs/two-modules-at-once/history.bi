' history.bi: what the history module (b.bas) offers the editor: a record of
' the lines that were changed, most recent first.

Declare Sub remember(ByVal lineNo As Integer)
Declare Function undoLast() As Integer
Declare Function changesKept() As Integer
