' A record with fields in every form FreeBASIC allows in a type, and a type
' that extends it: each field is read and set on the extending type by its
' own name; a one-dimensional array field by its index. A two-dimensional
' array and static data are reached through parent and the type.

Type Record
  title As String = "untitled"   ' an initializer and a comment
  Dim id As Integer = 7
  As Double x, y = 1.5
  label As String * 12
  code As ZString * 8
  scores(0 To 4) As Integer
  As Byte cells(3)
  names(Any) As String
  grid(2, 2) As Integer
  flags : 4 As ULong
  next_ As Record Ptr
  Union
    whole As Long
    Type
      lo As Short
      hi As Short
    End Type
  End Union
  Enum Kind
    plain
    fancy
  End Enum
  Static count As Integer
  Declare Sub describe()
End Type

Dim Record.count As Integer = 100

Sub Record.describe()
  count += 1
  Print title; " #"; id; " x="; x; " y="; y; " ["; label; "] ("; code; ")"; " visits:"; count
End Sub

Type Entry Extends Record
  note As String
End Type

Dim e As Entry
e.describe()
e.title = "first"
e.id = e.id + 1
e.x = 0.25
e.label = "a fixed label that is too long"
e.code = "abcdefghijk"
e.note = "extended"
e.describe()
For i As Integer = 0 To 4
  e.scores(i) = i * i
Next
e.cells(2) = 42
Print e.scores(3); e.scores(4); e.cells(2)
ReDim e.parent.names(1)
e.names(1) = "second name"
Print e.names(1); UBound(e.parent.names)
e.parent.grid(1, 2) = 12
Print e.parent.grid(1, 2)
e.flags = 9
Print e.flags
e.whole = &h00020001
Print e.lo; e.hi
e.hi = 3
Print e.whole
Dim other As Record
other.title = "other"
e.next_ = @other
Print e.next_->title; " "; e.note; Record.fancy
