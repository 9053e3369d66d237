' A logger whose members have default arguments, declared in the type as
' FreeBASIC programmers write them and left out of the implementations, and
' a file logger that extends it and calls them with and without the defaults.
' A declaration and an implementation header may go on over several lines.

Type Logger
  prefix As String = "log"
  Declare Sub log_(ByRef msg As String, ByVal level As Integer = 1)
  Declare Function format_(ByRef msg As String, ByRef sep As String = ": ", _
                           ByVal upper As Boolean = False) As String
  Declare Static Function levelName(ByVal level As Integer = 2) As String
End Type

Sub Logger.log_(ByRef msg As String, ByVal level As Integer)
  Print levelName(level); " "; format_(msg)
End Sub

Function Logger.format_(ByRef msg As String, ByRef sep As String, _
                        ByVal upper As Boolean) As String
  If upper Then Return UCase(prefix & sep & msg)
  Return prefix & sep & msg
End Function

Function Logger.levelName(ByVal level As Integer) As String
  Select Case level
  Case 1: Return "info"
  Case 2: Return "warn"
  Case Else: Return "error"
  End Select
End Function

Type FileLogger Extends Logger
  fileName As String
  Declare Sub rotate(ByVal keep As Integer = 3)
End Type

Sub FileLogger.rotate(ByVal keep As Integer)
  log_("rotating " & fileName & ", keeping " & keep, 2)
End Sub

Dim f As FileLogger
f.fileName = "app.log"
f.log_("started")
f.log_("disk almost full", 3)
Print f.format_("plain")
Print f.format_("shouted", " - ", True)
Print FileLogger.levelName()
Print f.levelName(1)
f.rotate()
f.prefix = "file"
f.rotate(5)
