#ifndef SHAPE_BI
#define SHAPE_BI
type Shape
  name as string
  x as integer
  declare sub move(byval dx as integer)
  declare function describe() as string
end type
#endif
