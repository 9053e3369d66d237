' FreeBASIC's own inheritance between two types of one file: the derived
' type's constructor calls Base(...), its show() calls Base.show(), and a
' Derived is passed where a Parent is expected. fbext leaves the family as
' written, so the program behaves as with the plain compiler.

Type Parent
  name As String
  Declare Constructor()
  Declare Constructor(ByRef n As String)
  Declare Sub show()
End Type

Constructor Parent()
  name = "nobody"
End Constructor

Constructor Parent(ByRef n As String)
  name = n
End Constructor

Sub Parent.show()
  Print "parent "; name
End Sub

Type Child Extends Parent
  age As Integer
  Declare Constructor(ByRef n As String, ByVal a As Integer)
  Declare Sub show()
End Type

Constructor Child(ByRef n As String, ByVal a As Integer)
  Base(n)
  age = a
End Constructor

Sub Child.show()
  Base.show()
  Print "  aged"; age
End Sub

Type Sibling Extends Parent
  Declare Constructor()
End Type

Constructor Sibling()
  Base("sibling")
End Constructor

Sub greet(ByRef p As Parent)
  Print "hello, "; p.name
End Sub

Dim c As Child = Child("Ann", 7)
c.show()
greet(c)
Dim s As Sibling
s.show()
greet(s)
