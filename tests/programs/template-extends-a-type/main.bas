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

' A template whose instances extend instances of another template.
Template Holder
  item As t1
  Declare Function get_() As t1
End Template

Function Holder.get_() As t1
  Return item
End Function

Template Labelled Extends Holder<<<t1>>>
  note As String
End Template

Dim n As Labelled<<<Double>>>
n.item = 2.5
n.note = "half of five"
Print n.note; n.get_(); n.parent.item
