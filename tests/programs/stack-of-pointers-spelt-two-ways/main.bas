' Cells remembered on stacks of pointers; the header spells the type
' "Integer Pointer", this module "Integer Ptr": both are one type.

#include once "cells.bi"

Dim cells(0 To 2) As Integer = {10, 20, 30}
Dim seen As Stack<<<Integer Ptr>>>
For i As Integer = 0 To 2
  remember(seen, @cells(i))
Next

Dim names As Stack<<<zstring ptr>>>
rememberName(names, StrPtr("alpha"))
rememberName(names, StrPtr("beta"))

' Through the pointers, double each cell, last one first.
Do While seen.count > 0
  Dim p As Integer Ptr = seen.pop()
  *p *= 2
  Print *p
Loop
Print cells(0); cells(1); cells(2)
Do While names.count > 0
  Print *names.pop()
Loop
