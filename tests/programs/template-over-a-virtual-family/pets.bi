' A pet kind is an animal whose name of kind comes from its tag type.
template Pet extends animal
	Declare Constructor (ByRef _name As String = "")
	Declare Function ObjectHierarchy () As String
	Declare Function ObjectRealType () As String Override
	Declare Destructor () Override
end template

Constructor Pet (ByRef _name As String = "")
	Base(_name)
End Constructor

Function Pet.ObjectHierarchy () As String
	Return Base.ObjectHierarchy & " <- " & t1.kind
End Function

Function Pet.ObjectRealType () As String
	Return t1.kind
End Function

Destructor Pet ()
	Print "    " & t1.kind & " destructor: " & This.name
End Destructor
