' Compound assignments to inherited fields, as users write them.
type Counter
  n as integer
  declare operator += (byval k as integer)
end type
operator Counter.+= (byval k as integer)
  n += k * 100
end operator

type Tally
  total as Counter ' a field of the program's own type: "+=" is Counter's
end type

type Shape
  x as integer
  y as integer
  name as string
  total as integer
  declare sub move(byval dx as integer, byval dy as integer)
end type
sub Shape.move(byval dx as integer, byval dy as integer)
  x += dx : y += dy
end sub

type Circle extends Shape
  r as integer
  declare sub grow()
  declare constructor()
end type
constructor Circle()
  x = 1 : y = 2 : r = 3
  name = "c"
end constructor
sub Circle.grow()
  r += 1
  x += 10 ' inherited
  this.y *= 2
  name &= "+"
  dim k as integer = 7
  k -= 1
  if k = 6 then y -= 1 else y += 1000
  x mod= 7
end sub

type Ring extends Circle
  inner as integer
end type

dim c as Circle
c.grow()
c.x += 5
c.y \= 2
c.name &= "!"
with c
  .x -= 1
  .r += 1
end with
print c.x, c.y, c.r, c.name
dim g as Ring
g.x += 100 : g.name &= "ring" : g.inner += 2
if g.x > 0 then g.y += 1 else g.y -= 1
print g.x, g.y, g.name, g.inner
print "c.x += 1 stays in a string" ' and c.x += 1 in a comment
dim t as Tally
t.total += 2
print t.total.n
