' Type arguments as FreeBASIC writes type names: a type in a namespace
' (Geo.Point, and one nested deeper) and a fixed-length string. Each use
' names an instance of its own.

Namespace Geo
  Type Point
    x As Integer
    y As Integer
  End Type
  Namespace Deep
    Type Tag
      id As Integer
    End Type
  End Namespace
End Namespace

Template Box
  item As t1
  Declare Sub put(ByRef v As t1)
  Declare Function get() As t1
End Template

Sub Box.put(ByRef v As t1)
  item = v
End Sub

Function Box.get() As t1
  Return item
End Function

Template Pair
  first As t1
  second As t2
End Template

Dim p As Geo.Point
p.x = 3 : p.y = 4
Dim b As Box<<<Geo.Point>>>
b.put(p)
Print b.get().x; b.get().y

Dim code As Pair<<<String * 4, Integer>>>
code.first = "ABCDEFG"
code.second = 7
Print "["; code.first; "]"; code.second

Dim pair As Pair<<<Geo.Deep.Tag, ZString * 8>>>
pair.first.id = 42
pair.second = "eight"
Print pair.first.id; " "; pair.second

Dim other As Box<<< geo.point >>>   ' the same instance as Box<<<Geo.Point>>>
other = b
Print other.item.x + other.item.y
