' tally.bi: read before b.bas with -include; a tally extends the same list.
#include once "list.bi"
type Tally extends List<<<integer>>>
  label as string
  declare function total() as integer
end type
function Tally.total() as integer
  dim t as integer
  for i as integer = 0 to count - 1
    t += at(i)
  next
  return t
end function
