' Compiled with -lang fblite: no type holds member procedures there, and
' "extends" is the compiler's own inheritance of fields, for a parent of data
' only. Templates of data only work beside it; another module says
' "#lang "fb"" and uses both extensions, a third names its dialect with the
' metacommand.
option gosub
#include once "cells.bi"

type Point
  x as integer
  y as integer
end type

type Pixel extends Point
  colour as integer
end type

declare function describeRecords(byval n as integer) as string
declare function legacyTotal(byval n as integer) as integer

dim px as Pixel
dim box as Cell<<<Pixel>>>
px.x = 3
px.y = 4
px.colour = 7
box.value = px
box.count = 1
gosub show
print describeRecords(2)
print legacyTotal(4)
end

show:
  print box.value.x; box.value.y; box.value.colour; box.count
  return
