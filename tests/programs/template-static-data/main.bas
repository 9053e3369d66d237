' A template with static data: each instance counts the values made of it
' in a count of its own, defined by one "dim" line written for the template.

Template Counted
  value As t1
  Static made As Integer
  Static As String lastNote
  Declare Constructor()
  Declare Static Function report() As String
End Template

Dim Counted.made As Integer = 100
Dim Counted.lastNote As String

Constructor Counted()
  made += 1
  lastNote = "made " & made
End Constructor

Static Function Counted.report() As String
  Return made & " (" & lastNote & ")"
End Function

Dim a As Counted<<<Integer>>>
Dim b As Counted<<<Integer>>>
Dim c As Counted<<<Double>>>
Print Counted<<<Integer>>>.report()
Print Counted<<<Double>>>.report()
Print Counted<<<Integer>>>.made + Counted<<<Double>>>.made
