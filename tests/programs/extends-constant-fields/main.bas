#include "foo.bi"

Type foo
  x As Integer
  c As Const Integer = 0
  limit As Const Integer = 3
  Dim start As Const String = "s"
  Declare Const Sub Inspect1()
  Declare Const Sub Inspect2()
  Declare Sub Mutate1()
  Declare Sub Mutate2()
End Type

Sub foo.Mutate1()
  x = 1
End Sub

Sub foo.Mutate2()
  Inspect1()
  Mutate1()
End Sub

Sub foo.Inspect1()
  Dim y As Integer
  y = c + x
  Print "inspect"; y
End Sub

Sub foo.Inspect2()
  Inspect1()
End Sub

Type bar extends foo
  label As String
  Declare Const Sub look()
  Declare Function total() As Integer
End Type

Sub bar.look()
  Inspect2()
End Sub

Function bar.total() As Integer
  Return c + limit + x + Len(start)
End Function

Type scaled extends Tagged<<<Double>>>
  Declare Function report() As String
End Type

Function scaled.report() As String
  Return "tag" & tag & " doubled" & doubled()
End Function

Sub show (ByRef b As Const bar)
  b.Inspect1()
  b.look()
End Sub

Dim b As bar
b.Mutate2()
show(b)
Print b.x, b.c, b.limit, b.start, b.total()
Dim s As scaled
s.value = 1.25
Print s.report(), s.tag
