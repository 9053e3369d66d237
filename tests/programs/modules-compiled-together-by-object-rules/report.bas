' report.bas: one line about a shape, and a pair made for main.bas.
#include once "shapes.bi"
function circleReport(byref c as Circle) as string
  return c.describe() & " r=" & c.r & " area=" & c.area() & " hist=" & c.history.total()
end function

function squareReport(byref s as Square) as string
  return s.describe() & " side=" & s.side & " area=" & s.area() & " hist=" & s.history.total()
end function

function pairOf(byval a as integer, byref b as string) as Pair<<<integer, string>>>
  dim p as Pair<<<integer, string>>>
  p.first = a
  p.second = b
  return p
end function
