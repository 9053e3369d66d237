' The first use of each instance stands inside a block: a procedure, a type,
' an #ifdef, a namespace, a loop, a statement continued over two lines. Each
' instance must come before the block, and after the types it holds.

#include once "stack.bi"

Type Point
  x As Integer
  y As Integer
End Type

Sub showCorners()
  Dim corners As Stack<<<Point>>>
  Dim p As Point
  p.x = 1 : p.y = 2 : corners.push(p)
  p.x = 3 : p.y = 4 : corners.push(p)
  Do While corners.count > 0
    p = corners.pop()
    Print "corner"; p.x; p.y
  Loop
End Sub

Type Reading
  value As Double
End Type

Type Logbook
  readings As Stack<<<Reading>>>
  Declare Sub record(ByVal v As Double)
End Type

Sub Logbook.record(ByVal v As Double)
  Dim r As Reading
  r.value = v
  readings.push(r)
End Sub

#ifdef __FB_LINUX__
  Dim Shared small As Stack<<<Short>>>
#else
  Dim Shared small As Stack<<<Short>>>
#endif

Namespace Counting
  Dim Shared tally As Stack<<<LongInt>>>
  Sub count(ByVal n As LongInt)
    tally.push(n)
  End Sub
End Namespace

For i As Integer = 1 To 2
  If i = 2 Then
    Dim last As Stack<<<UByte>>>
    last.push(i)
    Print "last"; last.pop()
  End If
Next

Dim total As _
  Stack<<<Single>>>
total.push(1.5)

showCorners()
Dim book As Logbook
book.record(20.5) : book.record(21)
Print "readings"; book.readings.count; ", last"; book.readings.pop().value
small.push(7)
Counting.count(40) : Counting.count(2)
Print "small"; small.pop(); ", tally"; Counting.tally.pop() + Counting.tally.pop()
Print "total"; total.pop()
