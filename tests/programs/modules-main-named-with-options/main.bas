' main.bas: the main module, named with -m main although it comes second.
#include once "list.bi"

Type Named
  title As String
  Declare Function shout() As String
End Type

Function Named.shout() As String
  Return UCase(title) & "!"
End Function

Type Report Extends Named
  lines As List<<<String>>>
End Type

Dim rep As Report
rep.title = "shapes"
rep.lines.add(shapeReport(3))
Dim areas As List<<<Double>>>
areas.add(1.5)
areas.add(2.25)
rep.lines.add("total " & totalArea(areas))
Print rep.shout()
Print rep.lines.joined(Chr(10))
