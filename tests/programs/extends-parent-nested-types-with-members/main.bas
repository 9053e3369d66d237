' A parent holding a named union and a named type of its own, whose members
' are implemented as T.U.proc and T.Point2.length, as FreeBASIC's manual
' writes them; a type extending it uses them through its inherited fields.
type T
  union U
    a as short
    type
      b1 as byte
      b2 as byte
    end type
    declare sub proc(byval _b1 as byte, byval _b2 as byte)
  end union
  type Point2
    x as integer
    y as integer
    declare function length() as double
    declare sub scale(byval k as integer)
  end type
  m as U
  origin as Point2
  declare sub proc()
end type

sub T.U.proc(byval _b1 as byte, byval _b2 as byte)
  this.b1 = _b1
  this.b2 = _b2
end sub

function T.Point2.length() as double
  return sqr(x * x + y * y)
end function

private sub T.Point2.scale(byval k as integer)
  x *= k : y *= k
end sub

sub T.proc()
  print this.m.b1, this.m.b2, this.m.a, origin.length()
end sub

type Tagged extends T
  label as string
  declare sub show()
end type

sub Tagged.show()
  print label;
  proc()
end sub

dim x as T
x.m.proc(1, 2)
x.origin.x = 3 : x.origin.y = 4
x.proc()

dim y as Tagged
y.label = "word"
y.m.proc(3, 4)
y.origin.x = 6 : y.origin.y = 8
y.origin.scale(2)
y.show()
dim p as T.Point2
p.x = 5 : p.y = 12
print p.length(); y.origin.length()
