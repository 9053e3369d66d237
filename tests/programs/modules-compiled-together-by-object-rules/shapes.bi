' shapes.bi: a family of shapes, each keeping a history of its sizes.
#ifndef SHAPES_BI
#define SHAPES_BI
#include once "containers.bi"
type Shape
  name as string
  x as integer
  y as integer
  history as Stack<<<integer>>>
  declare sub moveBy(byval dx as integer, byval dy as integer)
  declare function describe() as string
end type

type Circle extends Shape
  r as integer
  declare function area() as integer
end type

type Square extends Shape
  side as integer
  declare function area() as integer
end type

declare function makeCircle(byref n as string, byval r as integer) as Circle
declare function makeSquare(byref n as string, byval s as integer) as Square
declare function circleReport(byref c as Circle) as string
declare function squareReport(byref s as Square) as string
declare function sumAreas(byval n as integer) as integer
declare function pairOf(byval a as integer, byref b as string) as Pair<<<integer, string>>>
#endif
