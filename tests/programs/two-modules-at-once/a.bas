' a.bas: a tiny editor of a three-line document, built at the same time as
' the history module (b.bas), as make -j2 builds them. Every change is
' recorded by the history module so that it can be undone; the old texts are
' kept here, on a stack of strings. Both modules include the generic stack.

#include once "stack.bi"
#include once "history.bi"

Dim Shared doc(1 To 3) As String
Dim Shared oldTexts As Stack<<<string>>>

Sub edit(ByVal n As Integer, ByRef newText As String)
  oldTexts.push(doc(n))
  remember(n)
  doc(n) = newText
End Sub

Sub show(ByRef title As String)
  Print title; ": "; doc(1); " "; doc(2); " "; doc(3)
End Sub

doc(1) = "red" : doc(2) = "green" : doc(3) = "blue"
show("start")
edit(2, "lime")
edit(3, "navy")
edit(2, "olive")
show("edited")
Print "changes kept:"; changesKept()

' Undo the last two changes, naming the lines that came back.
For i As Integer = 1 To 2
  Dim n As Integer = undoLast()
  doc(n) = oldTexts.pop()
  Print "line"; n; " restored"
Next
show("undone")
Print "changes kept:"; changesKept()
