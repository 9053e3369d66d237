' Run-time errors caught with -g -exx: an index out of bounds inside a template
' member, inside a parent's member reached through a child, and a null pointer
' through a child's pointer must each name the user's own file, line and
' procedure.
#include once "grid.bi"

Type Shape
  corners(0 To 2) As Integer
  Declare Function corner(ByVal i As Integer) As Integer
End Type

Function Shape.corner(ByVal i As Integer) As Integer
  Return corners(i)
End Function

Type Triangle Extends Shape
  label As String
  sideCount As Integer
  Declare Function last() As Integer
End Type

Function Triangle.last() As Integer
  Return corner(3)
End Function

' Each case runs in a child process of its own: a run-time error ends a
' program, and the handler prints where it happened.
Sub runCase(ByVal which As Integer)
  Select Case which
  Case 1
    Dim r As Row<<<Integer>>>
    r.put(1, 7)
    Print "cell 1 ="; r.at(1)
    Print "cell 9 ="; r.at(9)
  Case 2
    Dim t As Triangle
    t.label = "abc"
    Print "corner 4 ="; t.corner(4)
  Case 3
    Dim t As Triangle
    Print "last ="; t.last()
  Case 4
    Dim p As Triangle Ptr = 0
    Print "sides of nothing: "; p->sideCount
  End Select
End Sub

If Command(1) = "" Then
  ' Runs each case and prints what it printed, with folders taken out of
  ' the file names.
  For i As Integer = 1 To 4
    Dim f As Long = FreeFile()
    Open Pipe """" & Command(0) & """ " & i For Input As #f
    Do Until Eof(f)
      Dim text As String
      Line Input #f, text
      Dim slash As Integer = InStrRev(text, "/")
      Dim ofAt As Integer = InStr(text, " of ")
      If slash > 0 And ofAt > 0 Then text = Left(text, ofAt + 3) & Mid(text, slash + 1)
      Print text
    Loop
    Close #f
  Next
  End
End If

On Error Goto handler
runCase(Val(Command(1)))
Print "no error"
End

handler:
Print
Print "case "; Command(1); ": error at line"; Erl; " in "; *Erfn; " of "; *Ermn
End
