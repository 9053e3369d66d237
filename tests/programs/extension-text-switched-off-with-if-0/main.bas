' Work in progress switched off with #if 0, as the compiler skips it unread:
' a template written half-way, a child type without its end line, a use of
' a type that is gone, and fields that are not there yet.
#if 0
template Queue
  items(0 to 7) as t1
  declare sub push(byval v as t1)
sub Queue.push(byval v as t1)
#endif

template Stack
  items(0 to 3) as t1
  n as integer
#if 0
  debugName as t1
#else
  label as string
#endif
end template

type Shape
  x as integer
#IF 0 ' not yet
  y as integer
#ENDIF
  declare function describe() as string
end type

function Shape.describe() as string
  return "shape at" & str(x)
end function

#if 0
type Square extends Shape
  side as integer
dim old as Stack<<<Widget>>>
#else
dim s as Stack<<<integer>>>
#endif

type Circle extends Shape
  r as integer
end type

dim c as Circle
c.x = 4 : c.r = 2
s.items(0) = 7 : s.n = 1 : s.label = "ints"
print c.describe(); c.r
print s.label; s.n; s.items(0)
