' b.bas: the module that widens and sums ranges, counting its calls in the
' tally that main.bas shares through "common".

#include once "range.bi"

function widen(byref r as Range<<<long>>>, byval by as long) as Range<<<long>>>
  tally.hits += 1
  return Range<<<long>>>(r.first - by, r.last + by)
end function

function total(byval r as Range<<<long>>>) as longint
  dim s as longint
  for i as Range<<<long>>> = r to r
    s += i.cur
  next
  tally.misses += 1
  return s
end function
