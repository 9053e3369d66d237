' shapes.bi: points and a polygon made of them, guarded the classic way.
#ifndef SHAPES_BI
#define SHAPES_BI

type Point
  x as integer
  y as integer
end type

template Ring
  items(any) as t1
  declare sub add(byref v as t1)
  declare function at(byval i as integer) byref as t1
  declare function size() as integer
end template

sub Ring.add(byref v as t1)
  redim preserve items(size())
  items(ubound(items)) = v
end sub

function Ring.at(byval i as integer) byref as t1
  return items(i mod size())
end function

function Ring.size() as integer
  return ubound(items) + 1
end function

type Polygon
  corners as Ring<<<Point>>>
  declare function perimeter() as integer
end type

function Polygon.perimeter() as integer
  dim total as integer
  for i as integer = 0 to corners.size() - 1
    total += abs(corners.at(i + 1).x - corners.at(i).x) + abs(corners.at(i + 1).y - corners.at(i).y)
  next
  return total
end function

dim shared origin as Ring<<<Point>>>

#endif ' SHAPES_BI
