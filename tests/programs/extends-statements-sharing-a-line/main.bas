' Types written compactly, several statements to a line, and types that
' extend them.

Type Cell
  row As Integer : col As Integer
  flags : 4 As ULong : mark : 2 As ULong
  label As String = "a:b" : hits As Integer ' counted: not reset
  Declare Sub moveBy(ByVal dr As Integer, ByVal dc As Integer) : Declare Function where() As String
End Type

Sub Cell.moveBy(ByVal dr As Integer, ByVal dc As Integer)
  row += dr : col += dc
End Sub

Function Cell.where() As String
  Return label & "@" & row & "," & col
End Function

Type Piece Extends Cell
  kind As String : Declare Function where() As String
End Type

Function Piece.where() As String
  Return kind & " on " & parent.where()
End Function

Dim p As Piece
p.kind = "rook"
p.row = 1 : p.col = 2
p.flags = 9 : p.mark = 3
p.moveBy(2, 3)
p.hits = p.hits + 1
Print p.where()
Print Str(p.flags) & " " & Str(p.mark) & " " & Str(p.hits)

' Access sections opened on the line of a field.
Type Account
  Private: cents As Integer
  Public: owner As String
  Declare Sub deposit(ByVal c As Integer)
  Declare Function balance() As Integer
End Type

Sub Account.deposit(ByVal c As Integer)
  cents += c
End Sub

Function Account.balance() As Integer
  Return cents
End Function

Type Savings Extends Account
  rate As Integer
End Type

Dim s As Savings
s.owner = "ann"
s.deposit(150)
Print s.owner; s.balance()
