' Members of extending types whose parameters are named like the fields
' (and members) they inherit, as FreeBASIC's own inheritance allows: the usual
' way to write a constructor or a setter.

type Shape
  x as integer
  y as integer
  declare function describe() as string
  declare sub put(byval x as integer, byval x__fbext as integer)
end type

sub Shape.put(byval x as integer, byval x__fbext as integer)
  this.x = x * 100 + x__fbext
end sub

function Shape.describe() as string
  return "(" & x & "," & y & ")"
end function

type Circle extends Shape
  r as integer
  declare constructor()
  declare constructor(byval x as integer, byval y as integer, byval r as integer)
  declare sub moveTo(byval X as integer)
  declare function shifted(byref y as integer) as integer
  declare property at(byval x as integer) as integer
  declare property at(byval x as integer, byval y as integer)
  declare operator += (byval x as integer)
  declare sub load(x() as integer)
  declare sub place(byval x as integer, byref other as Circle)
  declare function classify(byval y as integer) as string
  declare sub setY(byval y as integer)
  declare sub setBoth(byval x as integer, _
                      byval y as integer)
  declare sub grow(byval r as integer)
  declare sub note(byval describe as string)
  declare function tally(byval x as integer) as integer
  declare function offset(byval y as integer) as integer
  declare function spare(byval y as integer) as integer
end type

constructor Circle()
end constructor

constructor Circle(byval x as integer, byval y as integer, byval r as integer)
  this.x = x : this.y = y : this.r = r
end constructor

sub Circle.moveTo(byval X as integer)
  this.x = x ' x: the new place
end sub

function Circle.shifted(byref y as integer) as integer
  y += 1
  return y + this.y
end function

property Circle.at(byval x as integer) as integer
  return this.x + x
end property

property Circle.at(byval x as integer, byval y as integer)
  this.x = x + y
end property

operator Circle.+= (byval x as integer)
  this.x += x
  r += x
end operator

sub Circle.load(x() as integer)
  this.x = 0
  for i as integer = lbound(x) to ubound(x)
    this.x += x(i)
  next
end sub

sub Circle.place(byval x as integer, byref other as Circle)
  with other
    .x = x
    with this
      .y = x + other.x
      dim p as Circle ptr = @this
      p->x = x * 2
    end with
  end with
end sub

function Circle.classify(byval y as integer) as string
  dim s as string = "y="
  select case y
  case is < 0 : s &= "negative"
  case 0 : s &= "zero"
  case else : s &= "y " & y
  end select
  if y > this.y then s &= " above" else s &= " below"
  return s
end function

sub Circle.setY(byval y as integer) : this.y = y : end sub

sub Circle.setBoth(byval x as integer, _
                   byval y as integer)
  this.x = x
  this.y = y
end sub

sub Circle.grow(byval r as integer)
  this.r += r
end sub

sub Circle.note(byval describe as string)
  print describe; " "; this.describe()
end sub

function Circle.tally(byval x as integer) as integer
  static total as integer : total += x
  return total
end function

function Circle.spare(byval y as integer) as integer
  dim y__fbext as integer = 1000
  return y + y__fbext
end function

#ifdef __FB_64BIT__
function Circle.offset(byval y as integer) as integer
  return y - this.y ' "y" below y
end function
#else
function Circle.offset(byval y as integer) as integer
  return y - this.y
end function
#endif

#ifdef __FB_LINUX__
type Ring extends Circle
  w as integer
  declare constructor(byval x as integer, byval r as integer, byval w as integer)
  declare sub widen(byval r as integer, byval y as integer)
end type
#else
type Ring extends Circle
  w as integer
  declare constructor(byval x as integer, byval r as integer, byval w as integer)
  declare sub widen(byval r as integer, byval y as integer)
end type
#endif

constructor Ring(byval x as integer, byval r as integer, byval w as integer)
  this.x = x : this.r = r : this.w = w
end constructor

sub Ring.widen(byval r as integer, byval y as integer)
  this.r = r + w : this.y = y
end sub

dim c as Circle = Circle(1, 2, 3)
print c.describe(); c.r
c.moveTo(7)
print c.x
dim n as integer = 10
print c.shifted(n); n
print c.at(5)
c.at(4) = 6
print c.x
c += 2
print c.x; c.r
dim values(1 to 3) as integer = {4, 5, 6}
c.load(values())
print c.x
dim d as Circle
c.place(3, d)
print d.x; c.x; c.y
print c.classify(-1); " | "; c.classify(0); " | "; c.classify(9)
c.setY(8)
print c.y
c.setBoth(11, 12)
print c.describe()
c.grow(4)
print c.r
c.note("x")
print c.tally(2); c.tally(3)
dim g as Ring = Ring(5, 6, 7)
print g.x; g.r; g.w
g.widen(1, 9)
print g.r; g.y
g.moveTo(20)
print g.describe(); g.at(1); g.tally(5)
print c.offset(20); g.offset(20)
c.put(3, 4) : g.put(5, 6)
print c.x; g.x; c.spare(7); g.spare(8)
