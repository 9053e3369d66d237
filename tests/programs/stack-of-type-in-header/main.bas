' A walk on a grid, remembered on a stack of points so it can be walked back.
' Point comes from geometry.bi, included before the stack is declared.

#include once "geometry.bi"
#include once "stack.bi"

Dim trail As Stack<<<Point>>>
Dim here As Point

' Walk two steps north and two west, remembering each place we leave.
For i As Integer = 1 To 4
  trail.push(here)
  If i <= 2 Then here.y += 1 Else here.x -= 1
Next
Print "walked to "; here.describe(); " in"; trail.count; " steps"

Do Until trail.isEmpty()
  here = trail.pop()
  Print "back at "; here.describe()
Loop
