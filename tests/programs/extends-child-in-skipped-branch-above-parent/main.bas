' Text that only looks like the extensions, and a child written above its
' parent in branches the compiler skips: the parent must still be compiled.
/' An old design, kept for reference:
template Old
  v as t1
end template
type Ghost extends Shape
end type
'/
#if 0
template Older
  w as t1
end template
dim g as Older<<<integer>>>
type Phantom extends Shape
  z as integer
end type
#endif
#ifdef USE_DISK
type DiskShape extends Shape
  path as string
end type
#endif

type Shape
  x as integer
  declare function where() as string
end type

function Shape.where() as string
  return "at" & str(x)
end function

type Circle extends Shape
  r as integer
end type

template Pair
  a as t1
  b as t1
end template

dim p as Pair<<<string>>>
p.a = !"tab\there <<<no>>>"
p.b = $"C:\dir\extends\end type"
dim c as Circle
c.x = 2 : c.r = 5
print p.a
print p.b
print "type X extends Y", "Pair<<<integer>>>"
print !"\"end template\"\n"; c.x; c.r; " "; c.where()
