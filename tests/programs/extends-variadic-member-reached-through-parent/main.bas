' A parent's member taking variable arguments: no forwarder could pass them
' on, so the extending type reaches it through parent, and calling it on the
' extending type is refused rather than run without its arguments.
Type Stats
	label As String
	Declare Function average cdecl (count As Integer, ... ) As Double
End Type

Function Stats.average cdecl (count As Integer, ... ) As Double
	Dim sum As Double = 0
	Dim args As Cva_List
	Cva_Start( args, count )
	For i As Integer = 1 To count
		sum += Cva_Arg(args, Double)
	Next
	Cva_End( args )
	Return sum / count
End Function

Type Scores extends Stats
	best As Double
End Type

Dim s As Scores
s.label = "scores"
Print s.label; s.parent.average(4, 3.4 ,5.0, 3.2, 4.1)
Print s.average(2, 65.2, 454.65481)
