Type Core
	Private:
		Dim As Integer I1 = 123
	Public:
		Type UDT2
			Private:
				Dim As Integer I2 = 456
			Public:
				Declare Function returnI2() As Integer
		End Type
	Public:
		Type UDT3
			Private:
				Dim As Integer I3 = 789
			Public:
				Declare Function returnI3() As Integer
		End Type
		Declare Function returnI1() As Integer
		Dim As UDT2 t2
		Dim As UDT3 t3
End Type

Function Core.returnI1() As Integer
	Return This.I1
End Function

Function Core.UDT2.returnI2() As Integer
	Return This.I2
End Function

Function Core.UDT3.returnI3() As Integer
	Return This.I3
End Function

Type UDT1 extends Core
	Dim As String label = "outer"
End Type

Dim As UDT1 t11
Print t11.returnI1()
Print t11.t2.returnI2()
Print t11.t3.returnI3()
Print

Dim As Core.UDT3 t31
Dim Shared As Core.UDT2 t32(0 To 1)
Dim As Core.UDT3 Ptr t33 = @t11.t3
Print t31.returnI3()
If t32(1).returnI2() <> 456 OrElse t33->returnI3() <> 789 Then Print "wrong"

