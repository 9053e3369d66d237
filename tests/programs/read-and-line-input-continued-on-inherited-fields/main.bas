' Read and line input statements whose targets, inherited fields, stand on
' lines continued with " _": each field gets the value read, and the lines
' after them keep their numbers.
Type Item
  id As Integer
  label As String
  weight As Double
End Type

Type Crate Extends Item
  count As Integer
  Declare Sub load()
  Declare Sub loadName(ByVal f As Long)
End Type

Sub Crate.load()
  Read id, _
    label, _
    weight, count
End Sub

Sub Crate.loadName(ByVal f As Long)
  Line Input #f, _
    label ' the whole line
End Sub

Dim c As Crate
c.load()
Print c.id; " "; c.label; c.weight; c.count

Dim d As Crate
Read _
  d.id, _
  d.label : Read d.weight
Print d.id; " "; d.label; d.weight

Dim f As Long = FreeFile()
Open "lines.txt" For Output As #f
Print #f, "first line, with a comma"
Print #f, "second line"
Close #f
f = FreeFile()
Open "lines.txt" For Input As #f
Line Input #f, _
  d.label
Print d.label
c.loadName(f)
Print c.label
Close #f
Kill "lines.txt"
Print __LINE__

Data 7, "box", 2.5, 3
Data 8, "bag", 0.5
