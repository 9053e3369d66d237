' Built as a static library, with an instance of its own.
#include once "util.bi"

type Sample
  weight as double
  declare function scaled(byval by as double) as double
end type

function Sample.scaled(byval by as double) as double
  return weight * by
end function

type Reading extends Sample
  source as string
end type

function meanOf(byval n as integer) as double
  dim v as Vec<<<double>>>
  dim r as Reading
  r.weight = 0.5
  for i as integer = 1 to n
    v.add(r.scaled(i))
  next
  return v.total() / n
end function
