' A parent that declares an enum and a named type inside its block; the
' child has a field of that nested type, reads it directly, and overrides a
' member while calling the parent's through parent.

type Shape
  enum Kind
    kRound = 1
    kSquare
  end enum
  type Point2
    x as integer
    y as integer
  end type
  k as Kind
  origin as Point2
  declare function kindName() as string
  declare sub moveTo(byval p as Point2)
  declare function at() as Point2
end type
sub Shape.moveTo(byval p as Point2)
  origin = p
end sub
function Shape.at() as Point2
  return origin
end function
function Shape.kindName() as string
  select case k
  case Shape.kRound : return "round"
  case Shape.kSquare : return "square"
  end select
  return "?"
end function

type Circle extends Shape
  r as integer
  declare function describe() as string
  declare function kindName() as string
end type
function Circle.describe() as string
  return kindName() & " r=" & r & " at " & origin.x & "," & origin.y
end function
function Circle.kindName() as string
  return "circle/" & parent.kindName()
end function

dim c as Circle
c.k = Shape.kSquare
c.origin.x = 4
c.origin.y = 5
c.r = 2
print c.describe()
dim k as Shape.Kind = c.k
print k
print c.kindName()
print c.parent.kindName()
dim p as Shape.Point2
p.x = 7 : p.y = 8
c.moveTo(p)
dim q as Shape.Point2 = c.origin
print q.x; c.at().y; c.parent.origin.x
