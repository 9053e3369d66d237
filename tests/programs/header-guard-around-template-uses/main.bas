' A header whose templates are used, with its own types as arguments,
' inside its include guard. It is included twice; the guard keeps one copy.
#include "shapes.bi"
#include "shapes.bi"

dim square as Polygon
dim p as Point
for i as integer = 0 to 3
  p.x = iif(i = 1 orelse i = 2, 5, 0)
  p.y = iif(i >= 2, 5, 0)
  square.corners.add(p)
next
origin.add(square.corners.at(2))
print square.corners.size(); square.perimeter(); origin.at(0).x; origin.at(0).y
