#ifndef CIRCLE_BI
#define CIRCLE_BI
#include once "shape.bi"
type Circle extends Shape
  r as integer
  declare function area() as integer
end type
declare function unitCircle() as Circle
#endif
