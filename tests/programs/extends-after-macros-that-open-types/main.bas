' Macros whose bodies open a type that the code after each use closes,
' around a family whose parent has members.
#macro BEGIN_TYPE(n)
type n
    id as integer
#endmacro

#macro BEGIN_PLAIN(n)
type n
#endmacro

type Shape
    x as integer
    declare function twice() as integer
end type
function Shape.twice() as integer
    return x * 2
end function

BEGIN_TYPE(Tag)
    label as string
end type

BEGIN_PLAIN(Mark)
    weight as integer
end type

BEGIN_PLAIN(Pin)
    depth as integer
end type

type Square extends Shape
    side as integer
    declare function area() as integer
end type
function Square.area() as integer
    return side * side + x
end function

dim t as Tag
t.id = 1 : t.label = "tag"
dim m as Mark
m.weight = 5
dim p as Pin
p.depth = 3
dim s as Square
s.x = 2 : s.side = 4
print t.id; " "; t.label; m.weight; p.depth
print s.x; s.side; s.twice(); s.area()
