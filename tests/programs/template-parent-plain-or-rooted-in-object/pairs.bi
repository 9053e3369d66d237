' Two plain values, built field by field.
template Duo
	Dim As t1 I
	Dim As t1 J
end template

' Two values with constructors that say which kind they build; the kind t2
' gives the name, and is the parent (a plain type, or one rooted in Object).
template Pair extends t2
	Dim As t1 I = Any
	Dim As t1 J
	Declare Constructor ()
	Declare Constructor (ByVal _I As t1, ByVal _J As t1)
end template

Constructor Pair ()
	Print t2.label & ".Constructor()"
End Constructor
Constructor Pair (ByVal _I As t1, ByVal _J As t1)
	Print t2.label & ".Constructor(Byval As Integer, Byval As Integer)"
	This.I = _I
	This.J = _J
End Constructor
