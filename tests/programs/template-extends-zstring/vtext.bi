' A growable character string that the runtime takes as a t1 (ZString, WString).
template vText extends t1
  Public:
	Declare Constructor (ByVal pz As Const t1 Ptr = 0)
	Declare Operator Cast () ByRef As t1
	Declare Operator Let (ByVal pz As Const t1 Ptr)
	Declare Operator [] (ByVal index As Integer) ByRef As UByte
	Declare Destructor ()
  Private:
	Dim As t1 Ptr p
	Dim As UInteger l
end template

Constructor vText (ByVal pz As Const t1 Ptr = 0)
  This.l = Len(*pz)
  This.p = CAllocate(This.l + 1, SizeOf(t1))
  *This.p = *pz
End Constructor

Operator vText.Cast () ByRef As t1
  Return *This.p
End Operator

Operator vText.Let (ByVal pz As Const t1 Ptr)
  If This.l < Len(*pz) Then
	Deallocate(This.p)
	This.l = Len(*pz)
	This.p = CAllocate(This.l + 1, SizeOf(t1))
  End If
  *This.p = *pz
End Operator

Operator vText.[] (ByVal index As Integer) ByRef As UByte
  Return This.p[index]
End Operator

Destructor vText ()
  Deallocate(This.p)
End Destructor

Operator Len (ByRef v As vText) As Integer
  Return Len(Type<String>(v))        '' found nothing better than this
End Operator                         ''     (or: 'Return Len(Str(v))')
