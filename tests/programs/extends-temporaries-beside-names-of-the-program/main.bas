' A program whose own names are those of fbext's temporaries: swaps and
' line input on inherited fields still reach the program's values.
type Pair
  a as integer
  b as integer
  t as integer
  s as string
end type

type Named extends Pair
  label as string
  declare sub turn(byval t as integer)
end type

dim shared T__FBEXT as integer = 40

function t__fbext2(byval n as integer) as integer
  return n + 1
end function

' Its parameter named like an inherited field, the member's own t stays
' apart from the field.
sub Named.turn(byval t as integer)
  swap a, t
  b += t
end sub

dim p as Named
p.a = 1
p.b = 2
swap p.a, T__FBEXT
print p.a; p.b; T__FBEXT
swap p.b, p.a
p.a = t__fbext2(p.a)
print p.a; p.b
p.turn(5)
print p.a; p.b
p.t = 7
print p.t; T__FBEXT
open "word.txt" for output as #1
print #1, "kept"
close #1
open "word.txt" for input as #1
line input #1, p.s
close #1
kill "word.txt"
print p.s; T__FBEXT
