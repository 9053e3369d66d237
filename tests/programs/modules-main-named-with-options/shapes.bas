' shapes.bas: the shapes module; its family stays inside it.
#include once "list.bi"

Type Shape
  kind As String
  Declare Function tag() As String
End Type

Function Shape.tag() As String
  Return "<" & kind & ">"
End Function

Type Rect Extends Shape
  w As Integer
  h As Integer
  Declare Function area() As Integer
End Type

Function Rect.area() As Integer
  Return w * h
End Function

Function shapeReport(ByVal n As Integer) As String
  Dim names As List<<<String>>>
  For i As Integer = 1 To n
    Dim r As Rect
    r.kind = "rect" & i
    r.w = i
    r.h = i + 1
    names.add(r.tag() & "=" & r.area())
  Next
  Return names.joined(" ")
End Function

Function totalArea(values As List<<<Double>>>) As Double
  Dim t As Double
  For i As Integer = 0 To values.size - 1
    t += values.items(i)
  Next
  Return t
End Function
