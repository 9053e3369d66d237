' The integer bag comes from the header, the double one from this file: both
' extend Named and read it the same way.
type Named
  tag as string
  seen as integer
  declare function describe() as string
end type
function Named.describe() as string
  return "bag " & ucase(tag)
end function

#include "sorted.bi"

sub fill(byref s as Sorted<<<integer>>>, byval n as integer)
  for i as integer = 1 to n
    s.add((i * 7) mod 5)
  next
end sub

dim s as Sorted<<<integer>>>
s.tag = "ints"
fill(s, 4)
print s.show()
dim d as Sorted<<<double>>>
d.tag = "reals"
d.add(2.5) : d.add(-1.25) : d.add(0.5)
print d.show(); d.count; d.seen
