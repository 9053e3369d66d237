' A template whose members are written in #if branches: a member only some
' builds have, and a member with two bodies to choose from. An instance has
' the members the compiler keeps at their branches, as a type would.

#define WITH_DUMP
#define CHECKED 1

Template Buffer
  items(0 To 3) As t1
  count As Integer
  Declare Sub add(ByVal v As t1)
#ifdef WITH_DUMP
  Declare Sub dump()
#endif
#ifdef WITH_TRACE
  Declare Sub trace()
#endif
End Template

#if CHECKED
Sub Buffer.add(ByVal v As t1)
  If count > 3 Then
    Print "full"
    Exit Sub
  End If
  items(count) = v
  count += 1
End Sub
#else
Sub Buffer.add(ByVal v As t1)
  items(count) = v
  count += 1
End Sub
#endif

#ifdef WITH_DUMP
Sub Buffer.dump()
  For i As Integer = 0 To count - 1
    Print items(i);
  Next
  Print
End Sub
#endif

#ifdef WITH_TRACE
Sub Buffer.trace()
  Print "this build has no trace"; undefinedName
End Sub
#endif

Dim b As Buffer<<<Integer>>>
For i As Integer = 1 To 5
  b.add(i * 10)
Next
b.dump()

Dim s As Buffer<<<String>>>
s.add("x") : s.add("y")
s.dump()
