' Uses written where FreeBASIC users name types indirectly: a #define, a type
' alias, a #macro body, and arguments that are themselves uses with several
' arguments of their own.

Template Box
  item As t1
End Template

Template Pair
  a As t1
  b As t2
End Template

#define IntBox Box<<<Integer>>>
Type StrBox As Box<<<String>>>
#macro MAKEBOX(n)
  Dim n As Box<<<Double>>>
#endmacro

Dim a As IntBox
a.item = 1
Dim b As StrBox
b.item = "two"
MAKEBOX(c)
c.item = 3.5
Print a.item; " "; b.item; c.item

Dim x As Pair<<<Pair<<<Integer, String>>>, Pair<<<Double, Byte>>>>>>
x.a.a = 1 : x.a.b = "s" : x.b.a = 2.5 : x.b.b = 7
Print x.a.a; x.a.b; x.b.a; x.b.b
Dim y As Pair<<<Box<<<Integer>>>, IntBox>>>
y.a = a
y.b.item = y.a.item + 1
Print y.a.item; y.b.item
