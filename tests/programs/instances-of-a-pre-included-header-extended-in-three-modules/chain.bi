' chain.bi: links that point at their chain and chains of links; its own
' declarations make the integer instances, the link's members waiting for
' the chain's type. Every module reads it first (-include).
#pragma once
template Link
  value as t1
  nxt as Link<<<t1>>> ptr
  home as Chain<<<t1>>> ptr
  declare function index() as integer
end template
function Link.index() as integer
  dim k as integer
  dim p as Link<<<t1>>> ptr = home->head
  while p <> 0 andalso p <> @this
    k += 1
    p = p->nxt
  wend
  return k
end function
template Chain
  head as Link<<<t1>>> ptr
  size as integer
  declare sub push(byval l as Link<<<t1>>> ptr)
  declare function sum() as t1
end template
sub Chain.push(byval l as Link<<<t1>>> ptr)
  static pushes as integer
  pushes += 1
  l->home = @this
  l->nxt = head
  head = l
  size += 1
end sub
function Chain.sum() as t1
  dim s as t1
  dim p as Link<<<t1>>> ptr = head
  while p
    s += p->value
    p = p->nxt
  wend
  return s
end function
declare function chainText(byref c as Chain<<<integer>>>) as string
declare sub otherModule()
