' A parent whose fields and member implementations stand in #if branches,
' extended by a type of the same file: the extending type gets the members
' of the branches that are compiled, each once, and nothing of the others.

#define WITH_LOG

Type Counter
  hits As Integer
#ifdef WITH_LOG
  log_ As String
#endif
#ifdef BIG
  wide As Integer
#endif
  Declare Sub hit()
  Declare Function report() As String
End Type

#ifdef WITH_LOG
Sub Counter.hit()
  hits += 1
  log_ &= "+"
End Sub
#else
Sub Counter.hit()
  hits += 1
End Sub
#endif

#if defined(BIG)
Function Counter.report() As String
  Return "wide " & wide
End Function
#elseif defined(WITH_LOG)
#ifndef QUIET
Function Counter.report() As String
  Return "Counter.report: " & hits & " " & log_
End Function
#else
Function Counter.report() As String
  Return ""
End Function
#endif
#else
Function Counter.report() As String
  Return "Counter.report: " & hits
End Function
#endif

Type Tally Extends Counter
  label As String
End Type

Dim t As Tally
t.label = "tally"
t.hit()
t.hit()
Print t.label; ": "; t.report()
t.log_ = t.log_ & "!"
Print t.hits; " "; t.log_
