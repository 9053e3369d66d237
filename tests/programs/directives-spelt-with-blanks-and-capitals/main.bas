' Directives written as the compiler takes them: blanks and tabs after the
' "#", any letter case, a trailing comment, a path with "\", an include
' continued on the next line.
#	INCLUDE ONCE "lib\cells.bi" ' the cells
#include once "lib/cells.bi"
#include _ ' the pairs
  "lib/pair.bi"

' A macro's body is no block of the program's own text: the instance it
' names goes before the macro, where later uses find it too.
# macro HOLDER(n)
type n
  c as Cell<<<long>>>
end type
# endmacro
dim n as Cell<<<long>>>

type Shape
  x as integer
  declare sub move(byval dx as integer)
end type

sub Shape.move(byval dx as integer)
  x += dx
end sub

type Circle extends Shape
  r as integer
end type

HOLDER(Tag)

# IF 0
dim hidden as Cell<<<string>>>
# ELSE
dim c as Circle
# ENDIF
c.x = 3
c.move(2)
c.r = 10
print c.x; c.r

dim row as Row
row.a.v = 7
row.b.v = 2.5
row.a.report()
row.b.report()
dim t as Tag
t.c.v = 4
n.v = 6
dim p as Pair<<<integer>>>
p.a = 2 : p.b = 3
print t.c.v; n.v; p.sum(); __LINE__
