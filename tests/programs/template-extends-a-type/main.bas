' Settings of several value types, each a named thing: a template whose
' instances extend an ordinary type.

Type Named
  label As String
  Declare Function describe() As String
End Type

Function Named.describe() As String
  Return "[" & label & "]"
End Function

Template Setting Extends Named
  value As t1
  Declare Sub show()
End Template

Sub Setting.show()
  Print describe(); " = "; value
End Sub

Dim width_ As Setting<<<Integer>>>
width_.label = "width"
width_.value = 640
width_.show()

Dim title As Setting<<<String>>>
title.label = "title"
title.value = "demo"
title.show()
Print title.describe(); " "; width_.parent.label
