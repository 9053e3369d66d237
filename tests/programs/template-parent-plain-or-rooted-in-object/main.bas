' One template whose parent is its second type argument: a plain type, which
' fbext extends, or one rooted in Object, which FreeBASIC's inheritance extends.
Type Plain2
	Const label = "UDT2"
	tag As Byte
End Type
Type Rooted4 Extends Object
	Const label = "UDT4"
End Type

#include "pairs.bi"

Type UDT1 As Duo<<<Integer>>>
Dim As UDT1 u11 = (1, 2)
Dim As Duo<<<Integer>>> u13 = Type<Duo<<<Integer>>>>(1, 2)
Dim As UDT1 Ptr pu14 = New Duo<<<Integer>>>(1, 2)
	Delete pu14
Dim ByRef As Duo<<<Integer>>> ru15 = *New UDT1(1, 2)
	Delete @ru15
Dim As UDT1 u16 = u13
Dim As UDT1 u18 = Type<Duo<<<Integer>>>>(u13)
Dim As Duo<<<Integer>>> Ptr pu19 = New UDT1(u13)
	Delete pu19
Dim ByRef As UDT1 ru110 = *New Duo<<<Integer>>>(u13)
	Delete @ru110
Print

Dim As Pair<<<Integer, Plain2>>> u22 = Pair<<<Integer, Plain2>>>(1, 2)
Dim As Pair<<<Integer, Plain2>>> u23 = Type<Pair<<<Integer, Plain2>>>>(1, 2)
Dim As Pair<<<Integer, Plain2>>> Ptr pu24 = New Pair<<<Integer, Plain2>>>(1, 2)
	Delete pu24
Dim ByRef As Pair<<<Integer, Plain2>>> ru25 = *New Pair<<<Integer, Plain2>>>(1, 2)
	Delete @ru25
Dim As Pair<<<Integer, Plain2>>> u26 = u23
Print

Type UDT3
	Dim As Integer I
	Dim As String S
	Declare Constructor ()
	Declare Constructor (ByVal _I As Integer, ByRef _S As Const String)
End Type
Constructor UDT3 ()
	Print "UDT3.Constructor()"
End Constructor
Constructor UDT3 (ByVal _I As Integer, ByRef _S As Const String)
	Print "UDT3.Constructor(Byval As Integer, Byref As Const String)"
	This.I = _I
	This.S = _S
End Constructor

'Dim As UDT3 u31 = (1, "2")                 '' not valid: exist constructor (due at least to string member)
Dim As UDT3 u32 = UDT3(1, "2")              '' call Constructor(As Integer, As String)
Dim As UDT3 u33 = Type<UDT3>(1, "2")        '' call Constructor(As Integer, As String)
Dim As UDT3 Ptr pu34 = New UDT3(1, "2")     '' call Constructor(As Integer, As String)
	Delete pu34
Dim ByRef As UDT3 ru35 = *New UDT3(1, "2")  '' call Constructor(As Integer, As String)
	Delete @ru35
   
Dim As UDT3 u36 = u33                       '' default copy-construction
Dim As UDT3 u37 = UDT3(u33)                 '' call implicit Constructor(As UDT3)
Dim As UDT3 u38 = Type<UDT3>(u33)           '' call implicit Constructor(As UDT3)
Dim As UDT3 Ptr pu39 = New UDT3(u33)        '' call implicit Constructor(As UDT3)
	Delete pu39
Dim ByRef As UDT3 ru310 = *New UDT3(u33)    '' call implicit Constructor(As UDT3)
	Delete @ru310
Print



Type UDT4 As Pair<<<Integer, Rooted4>>>
Dim As UDT4 u42 = UDT4(1, 2)
Dim As UDT4 u43 = Type<UDT4>(1, 2)
Dim As UDT4 Ptr pu44 = New UDT4(1, 2)
	Delete pu44
Dim ByRef As UDT4 ru45 = *New Pair<<<Integer, Rooted4>>>(1, 2)
	Delete @ru45
Dim As UDT4 u46 = u43
Dim As UDT4 u47 = UDT4(u43)
Dim As UDT4 u48 = Type<UDT4>(u43)
Dim As UDT4 Ptr pu49 = New UDT4(u43)
	Delete pu49
Dim ByRef As UDT4 ru410 = *New UDT4(u43)
	Delete @ru410
Print
Type UDT5
	Dim As Integer I
	Declare Constructor ()
	Declare Constructor (ByVal _I As Integer)
End Type
Constructor UDT5 ()
	Print "UDT5.Constructor()"
End Constructor
Constructor UDT5 (ByVal _I As Integer)
	Print "UDT5.Constructor(Byval As Integer)"
	This.I = _I
End Constructor

Dim As UDT5 u51 = UDT5(1)                  '' call Constructor(As Integer)
Dim As UDT5 u52 = Type<UDT5>(1)            '' call Constructor(As Integer)
Dim As UDT5 u53 = (1)                      '' call Constructor(As Integer)
Dim As UDT5 u54 = 1                        '' call Constructor(As Integer)
Dim As UDT5 Ptr pu55 = New UDT5(1)         '' call Constructor(As Integer)
	Delete pu55
Dim ByRef As UDT5 ru56 = *New UDT5(1)      '' call Constructor(As Integer)
	Delete @ru56
   
Dim As UDT5 u57 = u54                      '' default copy-construction
'Dim As UDT5 u58 = UDT5(u54)               '' not valid: no implicit Constructor(As UDT5)
'Dim As UDT5 u59 = Type<UDT5>(u54)         '' not valid: no implicit Constructor(As UDT5)
'Dim As UDT5 Ptr pu510 = New UDT5(u54)     '' not valid: no implicit Constructor(As UDT5)
'Dim Byref As UDT5 ru511 = *New UDT5(u54)  '' not valid: no implicit Constructor(As UDT5)
Print

