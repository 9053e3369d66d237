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
end type
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
