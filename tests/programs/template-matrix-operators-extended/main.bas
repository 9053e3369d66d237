' A generic matrix with operators inside and outside the template, an indexed
' reader and a byref cell, extended by a transform whose members scale cells.
template Matrix
  rows as integer
  cols as integer
  cells(any) as t1
  declare constructor(byval r as integer = 2, byval c as integer = 2)
  declare const function cell(byval r as integer, byval c as integer) as t1
  declare sub put_(byval r as integer, byval c as integer, byval v as t1)
  declare function at(byval r as integer, byval c as integer) byref as t1
  declare operator cast() as string
  declare operator *= (byval k as t1)
end template

constructor Matrix(byval r as integer = 2, byval c as integer = 2)
  rows = r : cols = c
  redim cells(0 to r * c - 1)
end constructor

const function Matrix.cell(byval r as integer, byval c as integer) as t1
  return cells(r * cols + c)
end function

sub Matrix.put_(byval r as integer, byval c as integer, byval v as t1)
  cells(r * cols + c) = v
end sub

function Matrix.at(byval r as integer, byval c as integer) byref as t1
  return cells(r * cols + c)
end function

operator Matrix.cast() as string
  dim s as string
  for r as integer = 0 to rows - 1
    for c as integer = 0 to cols - 1
      s &= " " & cell(r, c)
    next
    s &= " /"
  next
  return s
end operator

operator Matrix.*= (byval k as t1)
  for i as integer = 0 to ubound(cells)
    cells(i) *= k
  next
end operator

operator + (byref a as Matrix, byref b as Matrix) as Matrix
  dim m as Matrix = Matrix(a.rows, a.cols)
  for i as integer = 0 to ubound(a.cells)
    m.cells(i) = a.cells(i) + b.cells(i)
  next
  return m
end operator

operator * (byref a as Matrix, byref b as Matrix) as Matrix
  dim m as Matrix = Matrix(a.rows, b.cols)
  for r as integer = 0 to a.rows - 1
    for c as integer = 0 to b.cols - 1
      dim acc as t1
      for k as integer = 0 to a.cols - 1
        acc += a.cell(r, k) * b.cell(k, c)
      next
      m.put_(r, c, acc)
    next
  next
  return m
end operator

operator = (byref a as Matrix, byref b as Matrix) as integer
  if a.rows <> b.rows or a.cols <> b.cols then return 0
  for i as integer = 0 to ubound(a.cells)
    if a.cells(i) <> b.cells(i) then return 0
  next
  return -1
end operator

type Transform extends Matrix<<<double>>>
  name_ as string
  declare sub scale(byval k as double)
  declare function trace() as double
end type

sub Transform.scale(byval k as double)
  for i as integer = 0 to rows - 1
    at(i, i) *= k
  next
end sub

function Transform.trace() as double
  dim t as double
  for i as integer = 0 to rows - 1
    t += cell(i, i)
  next
  return t
end function

dim a as Matrix<<<integer>>> = Matrix<<<integer>>>(2, 2)
a.put_(0, 0, 1): a.put_(0, 1, 2)
a.put_(1, 0, 3): a.put_(1, 1, 4)
dim b as Matrix<<<integer>>> = a
b *= 2
print a
print b
print a + b
print a * b
print a = b, (a + a) = b
a.at(1, 1) += 10
print a.cell(1, 1)

dim t as Transform
t.name_ = "t"
t.put_(0, 0, 1.5)
t.put_(1, 1, 2)
t.scale(2)
print t.name_; t.trace(); t.at(0, 0)
t.put_(0, 1, t.cell(0, 0) + 1)
print t.cell(0, 1), t.rows, t.cols
