' Swaps of inherited fields, as programs that sort and reorder records write them.
type Vec
  x as integer
  y as integer
end type

type Shape
  x as integer
  y as integer
  name as string
  code as string * 6
  ratio as double
  pos as Vec ' a field of the program's own type
  scores(1 to 3) as integer
  link as Vec ptr
  parts(1 to 2) as Vec
  declare sub flip()
end type
sub Shape.flip()
  swap x, y ' the parent's own fields: no property here
end sub

type Circle extends Shape
  r as integer
  declare sub turn()
  declare sub turnIf(byval really as integer)
end type
sub Circle.turn()
  swap x, y : swap this.name, code
  swap scores(1), scores(3) : swap pos, parts(1)
end sub
sub Circle.turnIf(byval really as integer)
  if really then swap x, y else swap ratio, ratio
end sub

type Ring extends Circle ' a grandchild
  inner as integer
  declare sub roll()
end type
sub Ring.roll()
  swap inner, x
  swap r, y
end sub

sub show(byref c as Circle)
  print c.x; c.y; " "; c.name; "|"; c.code; "|"; c.ratio; c.pos.x; c.pos.y; _
    c.scores(1); c.scores(2); c.scores(3)
end sub

dim c as Circle
c.x = 1 : c.y = 2 : c.name = "circle" : c.code = "ab" : c.ratio = 0.5
c.pos.x = 7 : c.pos.y = 8
c.scores(1) = 10 : c.scores(2) = 20 : c.scores(3) = 30

' Numbers, strings, fixed-length strings, doubles, elements of an inherited array.
swap c.x, c.y
dim s as string = "plain"
swap c.name, s
dim fixed as string * 6 = "xyz"
swap c.code, fixed
dim d as double = 2.25
swap d, c.ratio
swap c.scores(1), c.scores(2)
show c
print s; "|"; fixed; "|"; d

' A field of the program's own type, and its fields: reached directly.
swap c.pos.x, c.pos.y
show c
dim c2 as Circle
c2.pos.x = 70 : c2.link = @c2.pos
swap c.pos, c2.pos
swap c.link, c2.link ' pointers
print c.pos.x; c2.pos.x; c.link = @c2.pos; c2.link = 0
c.parts(1).x = 1 : c.parts(2).x = 2
swap c.parts(1), c.parts(2) ' elements of an inherited array of records
print c.parts(1).x; c.parts(2).x

' One-line ifs, ":"-separated statements, two swaps on a line, rem.
dim as integer yes = 1, n = 5
if yes then swap c.x, c.y
if yes = 0 then print "no" else swap c.x, n : print "swapped"; n
if yes then swap c.x, c.y else print "no"
swap c.x, c.y : swap c.scores(2), c.scores(3) rem swap c.x, c.y
print "swap c.x, c.y" ' in a string
show c

' Members: bare names, this, a one-line if.
c.turn()
show c
c.turnIf(1)
c.turnIf(0)
show c

' A sort of records by an inherited field.
dim a(1 to 5) as Circle
dim keys(1 to 5) as integer = {50, 20, 40, 10, 30}
for i as integer = 1 to 5
  a(i).x = keys(i) : a(i).name = "c" & keys(i)
next
for i as integer = 1 to 4
  for j as integer = i + 1 to 5
    if a(j).x < a(i).x then swap a(i).x, a(j).x : swap a(i).name, a(j).name
  next
next
for i as integer = 1 to 5
  print a(i).x; " "; a(i).name;
next
print
dim order(1 to 2) as integer = {1, 5}
swap a(order(1)).name, a(order(2) - 0).name
print a(1).name; " "; a(5).name

' Pointers, pointer elements, with blocks.
dim p as Circle ptr = @a(2)
swap p->x, p->y
dim q as Circle ptr = new Circle[3]
q[0].x = 100 : q[2].x = 300
swap q[0].x, q[2].x
print p->x; p->y; q[0].x; q[2].x
delete[] q
with a(3)
  .y = 3
  swap .x, .y
  print .x; .y
end with

' A grandchild, through its own members and from outside.
dim g as Ring
g.x = 1 : g.y = 2 : g.r = 3 : g.inner = 4 : g.name = "ring"
g.roll()
swap g.name, g.code
print g.x; g.y; g.r; g.inner; " "; g.name; "|"; g.code; "|"

' Swaps that stay as written: plain variables, whole records, fields of types
' that extend nothing.
dim as integer m1 = 1, m2 = 2
swap m1, m2
swap a(1), a(2)
dim v as Vec
v.x = 1 : v.y = 2
swap v.x, v.y
print m1; m2; " "; a(1).name; " "; a(2).name; v.x; v.y
