#ifndef UTIL_BI
#define UTIL_BI
template Vec
  items(0 to 9) as t1
  n as integer
  declare sub add(byval v as t1)
  declare function total() as t1
end template

sub Vec.add(byval v as t1)
  items(n) = v
  n += 1
end sub

function Vec.total() as t1
  dim s as t1
  for i as integer = 0 to n - 1
    s += items(i)
  next
  return s
end function

declare function sumVec(byref v as Vec<<<integer>>>) as integer
declare function labelled(byval n as integer) as string
#endif
