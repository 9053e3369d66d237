' cells.bi: helpers written with the long spelling of pointer types.

#include once "stack.bi"

Sub remember(ByRef s As Stack<<<Integer Pointer>>>, ByVal p As Integer Pointer)
  s.push(p)
End Sub

Sub rememberName(ByRef s As Stack<<<ZString Pointer>>>, ByVal z As ZString Pointer)
  s.push(z)
End Sub
