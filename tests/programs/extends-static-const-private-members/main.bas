' A parent whose implementations say their linkage, "static" or "const" in
' front of the keyword, as FreeBASIC allows: an extending type gets them all.

Type Meter
  reading As Integer
  Declare Sub add(ByVal n As Integer = 1)
  Declare Static Function unit() As String
  Declare Const Function shown() As String
  Declare Const Property twice() As Integer
  Declare Constructor()
End Type

Private Constructor Meter()
  reading = 100
End Constructor

Private Sub Meter.add(ByVal n As Integer = 1)
  reading += n
End Sub

Static Function Meter.unit() As String
  Return "kWh"
End Function

Public Const Function Meter.shown() As String
  Return reading & " " & unit()
End Function

Const Property Meter.twice() As Integer
  Return reading * 2
End Property

Type SmartMeter Extends Meter
  owner As String
  Declare Sub report()
End Type

Sub SmartMeter.report()
  Print owner; ": "; shown(); " ("; twice; ")"
End Sub

Dim m As SmartMeter
m.owner = "flat 3"
m.report()
m.add()
m.add(9)
m.report()
Print SmartMeter.unit(); " "; m.unit(); m.reading
