' shapes.bi: the types every module shares, pre-included with -include.
type Shape
  x as integer
  y as integer
  label as string
end type

type Circle extends Shape
  r as integer
end type

declare sub describe(byref c as Circle)
