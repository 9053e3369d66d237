' A header whose include guard is followed by a block comment: the guard
' still holds the rest of the file, so the instance for the type declared
' inside it goes after that type.
#ifndef SHAPES_BI
#define SHAPES_BI
#include once "list.bi"

type Point
  x as integer
  y as integer
end type

type Path
  pts as List<<<Point>>>
end type
#endif
/' shapes.bi
   end of the header '/
