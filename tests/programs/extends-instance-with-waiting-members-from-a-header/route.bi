' route.bi: a route of stops that point back at it, and the route module's
' procedures. Its declarations use Route<<<string>>>, so the header makes that
' instance and the stop instance it points at.
#pragma once
template Stop
  place as t1
  nxt as Stop<<<t1>>> ptr
  owner as Route<<<t1>>> ptr
  declare function position() as integer
end template
function Stop.position() as integer
  dim n as integer
  dim s as Stop<<<t1>>> ptr = owner->first
  while s <> 0 andalso s <> @this
    n += 1
    s = s->nxt
  wend
  return n
end function

template Route
  first as Stop<<<t1>>> ptr
  last as Stop<<<t1>>> ptr
  count as integer
  declare sub append(byval s as Stop<<<t1>>> ptr)
end template
sub Route.append(byval s as Stop<<<t1>>> ptr)
  s->owner = @this
  if last then last->nxt = s else first = s
  last = s
  count += 1
end sub

declare function describeRoute(byref r as Route<<<string>>>) as string
