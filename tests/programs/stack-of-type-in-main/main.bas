' A walk on a grid, remembered on a stack of points so it can be walked back.
' Point is declared in this file, above its first use as a type argument.

#include once "stack.bi"

Type Point
  x As Integer
  y As Integer
End Type

Function describe(ByRef p As Point) As String
  Return "(" & p.x & ", " & p.y & ")"
End Function

Dim trail As Stack<<<Point>>>
Dim here As Point

' Walk three steps east and two north, remembering each place we leave.
For i As Integer = 1 To 5
  trail.push(here)
  If i <= 3 Then here.x += 1 Else here.y += 1
Next
Print "walked to "; describe(here); " in"; trail.count; " steps"

' Walk back the way we came.
Do Until trail.isEmpty()
  here = trail.pop()
  Print "back at "; describe(here)
Loop
