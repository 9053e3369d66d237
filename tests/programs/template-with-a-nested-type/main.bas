' A template holding a type of its own, whose members are implemented as
' Family.Child.kinship(), with private constructors it never implements.
Template Family
	Private:
		Dim As String nameFamily
		Declare Constructor()
		Declare Constructor(ByRef As Family)
		Type Child
			Dim As t1 nameChild
			Dim As Family Ptr ptrFamily
			Declare Sub kinship()
		End Type
		Dim As Child listChild(Any)
	Public:
		Declare Constructor(ByRef _nameFamily As String)
		Declare Sub addChild(ByRef _nameChild As t1)
		Declare Sub kinship()
End Template

Constructor Family(ByRef _nameFamily As String)
	This.nameFamily = _nameFamily
End Constructor

Sub Family.addChild(ByRef _nameChild As t1)
	ReDim Preserve This.listChild(UBound(This.listChild) + 1)
	This.listChild(UBound(This.listChild)).nameChild = _nameChild
	This.listChild(UBound(This.listChild)).ptrFamily = @This
End Sub

Sub Family.Child.kinship()
	Print "'" & This.nameChild & "'" & " is child of " & "'" & This.ptrFamily->nameFamily & "'"
End Sub

Sub Family.kinship()
	For i As Integer = 0 To UBound(This.listChild)
		This.listChild(i).kinship()
	Next i
End Sub


Dim As Family<<<String>>> p = Family<<<String>>>("Kennedy")
p.addChild("John Jr.")
p.addChild("Caroline")
p.addChild("Patrick")
p.kinship()

Dim As Family<<<Integer>>> q = Family<<<Integer>>>("Numbers")
q.addChild(1)
q.addChild(22)
q.kinship()
