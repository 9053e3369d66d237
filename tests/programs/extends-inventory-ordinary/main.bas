' A small inventory: an enum and a lookup table between the types and their
' members, a nested union, overloaded and static members, an overriding
' member that calls the parent's, and the parent's cast used on parent.

Type Item
  Union
    code As Long
    bytes(0 To 3) As UByte
  End Union
  nm As String
  Declare Constructor(ByRef n As String = "none", ByVal c As Long = 0)
  Declare Function describe() As String
  Declare Function label() As String
  Declare Function label(ByVal prefix As String) As String
  Declare Static Function made() As Integer
  Declare Operator Cast() As String
End Type

Enum Kind
  kTool = 1
  kPart
End Enum

Dim Shared kindNames(1 To 2) As String * 4 = {"tool", "part"}
Dim Shared itemsMade As Integer

Constructor Item(ByRef n As String, ByVal c As Long)
  nm = n : code = c
  itemsMade += 1
End Constructor

Function Item.describe() As String
  Return nm & "#" & code & " low byte " & bytes(0)
End Function

Function Item.label() As String
  Return label("item")
End Function

Function Item.label(ByVal prefix As String) As String
  Return prefix & ": " & nm
End Function

Static Function Item.made() As Integer
  Return itemsMade
End Function

Operator Item.Cast() As String
  Return "<" & nm & ">"
End Operator

Type Stocked Extends Item
  k As Kind
  qty As Integer
  Declare Function describe() As String
End Type

Function Stocked.describe() As String
  Return parent.describe() & ", " & qty & " " & kindNames(k) & "s"
End Function

Type Shelf
  slots(1 To 2) As Stocked
  Declare Function total() As Integer
End Type

Function Shelf.total() As Integer
  Dim t As Integer
  For i As Integer = 1 To 2
    t += slots(i).qty
  Next
  Return t
End Function

Dim s As Shelf
s.slots(1).nm = "hammer" : s.slots(1).code = 258 : s.slots(1).k = kTool : s.slots(1).qty = 3
s.slots(2).nm = "bolt" : s.slots(2).code = 7 : s.slots(2).k = kPart : s.slots(2).qty = 40
Print s.slots(1).describe()
Print s.slots(2).describe()
Print s.slots(1).label(); " / "; s.slots(2).label("part")
Print s.slots(1).parent; " "; s.total(); " made"; Stocked.made()
Dim loose As Item = Item("nail", 513)
Print loose.describe(); " "; loose; " made"; Item.made()
