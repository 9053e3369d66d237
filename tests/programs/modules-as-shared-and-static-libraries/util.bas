' Built as a shared library: its functions take and give the instance the
' main program makes of the same template.
#include once "util.bi"

type Tag
  text as string
  declare function show() as string
end type

function Tag.show() as string
  return "[" & text & "]"
end function

type Price extends Tag
  cents as integer
end type

function sumVec(byref v as Vec<<<integer>>>) as integer
  return v.total()
end function

function labelled(byval n as integer) as string
  dim p as Price
  p.text = "n=" & n
  p.cents = n
  p.cents += 1
  return p.show() & p.cents
end function
