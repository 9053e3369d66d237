#include "chain.bi"
function chainText(byref c as Chain<<<integer>>>) as string
  dim s as string
  dim p as Link<<<integer>>> ptr = c.head
  while p
    s &= p->value & ";"
    p = p->nxt
  wend
  return s & c.size
end function
