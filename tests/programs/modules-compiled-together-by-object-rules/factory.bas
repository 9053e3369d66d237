' factory.bas: shapes made with a first size in their history.
#include once "shapes.bi"
function makeCircle(byref n as string, byval r as integer) as Circle
  dim c as Circle
  c.name = n
  c.r = r
  c.history.push(r)
  return c
end function

function makeSquare(byref n as string, byval s as integer) as Square
  dim q as Square
  q.name = n
  q.side = s
  q.x += s
  q.history.push(s)
  return q
end function
