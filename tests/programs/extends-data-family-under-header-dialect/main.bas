' A data-only family in a program whose header picks the fblite dialect:
' there "extends" is the compiler's own, and passes the fields on.
#include "dialect.bi"

type Point2
  x as integer
  y as integer
end type

type Point3 extends Point2
  z as integer
end type

dim p as Point3
p.x = 1
p.y = 2
p.z = 3
p.x += 10
print TITLE; p.x; p.y; p.z
