' A macro whose body opens a type that extends another, closed after each
' use: the family is FreeBASIC's own inheritance.
#macro CHILD(n)
type n extends Shape
#endmacro

type Shape
    x as integer
    declare function twice() as integer
end type
function Shape.twice() as integer
    return x * 2
end function

CHILD(Square)
    side as integer
end type

type Circle extends Shape
    r as integer
end type

dim s as Square
s.x = 2 : s.side = 3
dim c as Circle
c.x = 5 : c.r = 1
print s.x; s.side; s.twice(); c.x; c.r; c.twice()
