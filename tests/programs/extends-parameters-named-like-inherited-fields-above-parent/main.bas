' A child written above its parent, whose members name their parameters after
' inherited fields and members: in with blocks, through pointers, in comments
' across lines, in a static member; a field of its own hides the inherited one.

type Point2
  a as integer
  b as integer
end type

type Ring extends Circle
  declare static function make(byval x as integer) as Ring
  declare sub take(byref p as Ring ptr, byval x as integer = 5)
end type

type Circle extends Shape
  x as integer   ' its own x: the inherited one is hidden
  declare sub setPos(byref pos as Point2)
  declare function scaled(byval area as integer, byval x as integer) as integer
  declare sub fill(byval y as integer)
end type

type Shape
  x as integer
  y as integer
  pos as Point2
  declare property area() as integer
end type

property Shape.area() as integer
  return x * y
end property

private sub Circle.setPos(byref pos as Point2)
  with pos
    this.pos.a = .a + y
    .b = .a * 2
  end with
  this.pos.b = pos.b
end sub

function Circle.scaled(byval area as integer, byval x as integer) as integer
  /' area and x
     are the arguments '/
  return area * _
         x + this.area
end function

sub Circle.fill(byval y as integer)
  this.y = y : if y > 3 then this.x = y else this.x = -y
  dim s as string = "y" & y & "y"
  print s; ' y
end sub

static function Ring.make(byval x as integer) as Ring
  dim r as Ring
  r.y = x
  r.x = x + 1
  return r
end function

sub Ring.take(byref p as Ring ptr, byval x as integer = 5)
  with *p
    .y = x
    p->x = x * 3
  end with
end sub

dim c as Circle
dim q as Point2 = type(4, 0)
c.y = 3
c.setPos(q)
print c.pos.a; c.pos.b; q.b
c.x = 2
print c.scaled(2, 3)
c.fill(7) : print c.x; c.y
c.fill(1) : print c.x; c.y
dim r as Ring = Ring.make(6)
print r.x; r.y
dim rp as Ring ptr = @r
r.take(rp)
print r.x; r.y
r.take(rp, 2)
print r.x; r.y
