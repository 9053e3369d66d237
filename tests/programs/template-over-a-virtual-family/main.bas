' FreeBASIC's own inheritance (Object, abstract, virtual, Base) with a template
' whose instances are the leaf types, told apart with Is.
Type root Extends Object
  Declare Function ObjectHierarchy () As String
  Declare Abstract Function ObjectRealType () As String
  Dim Name As String
  Declare Virtual Destructor ()
Protected:
  Declare Constructor ()
  Declare Constructor (ByRef rhs As root)
End Type

Constructor root ()
End Constructor

Function root.ObjectHierarchy () As String
  Return "Object(forRTTI) <- root"
End Function

Virtual Destructor root ()
  Print "root destructor"
End Destructor

Type animal Extends root
  Declare Constructor (ByRef _name As String = "")
  Declare Function ObjectHierarchy () As String
  Declare Virtual Function ObjectRealType () As String Override
  Declare Virtual Destructor () Override
End Type

Constructor animal (ByRef _name As String = "")
  This.name = _name
End Constructor

Function animal.ObjectHierarchy () As String
  Return Base.ObjectHierarchy & " <- animal"
End Function

Virtual Function animal.ObjectRealType () As String
  Return "animal"
End Function

Virtual Destructor animal ()
  Print "  animal destructor: " & This.name
End Destructor

Type DogTag
  Const kind = "dog"
  unused As Byte
End Type
Type CatTag
  Const kind = "cat"
  unused As Byte
End Type

#include "pets.bi"

Type dog As Pet<<<DogTag>>>
Type cat As Pet<<<CatTag>>>

Sub PrintInfo (ByVal p As root Ptr)
  Print "  " & p->Name, "  " & p->ObjectRealType, "           ";
  If *p Is dog Then
	Print  Cast(dog Ptr, p)->ObjectHierarchy
  ElseIf *p Is Pet<<<CatTag>>> Then
	Print Cast(cat Ptr, p)->ObjectHierarchy
  ElseIf *p Is animal Then
	Print Cast(animal Ptr, p)->ObjectHierarchy
  End If
End Sub

Print "Name:", "Object (real):         Hierarchy:"
Dim a As root Ptr = New animal("Mouse")
PrintInfo(a)
Dim d As root Ptr = New dog("Buddy")
PrintInfo(d)
Dim c As root Ptr = New Pet<<<CatTag>>>("Tiger")
Printinfo(c)
Print
Delete a
Delete d
Delete c
