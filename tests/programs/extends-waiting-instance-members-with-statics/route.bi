' route.bi: stops that point back at their route. The header's own
' declaration uses Route<<<string>>>, so it makes that instance and the stop
' instance, whose members wait for the route's type. Two of those members
' keep static variables, one of them under an #if branch.
#pragma once
template Stop
  place as t1
  nxt as Stop<<<t1>>> ptr
  owner as Route<<<t1>>> ptr
  declare function position() as integer
#ifndef NO_VISITS
  declare function visit() as integer
#endif
end template
function Stop.position() as integer
  static asked as integer
  asked += 1
  dim n as integer
  dim s as Stop<<<t1>>> ptr = owner->first
  while s <> 0 andalso s <> @this
    n += 1
    s = s->nxt
  wend
  return n * 100 + asked
end function
#ifndef NO_VISITS
function Stop.visit() as integer
  static visits as integer = 10
  visits += 1
  return visits
end function
#endif

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

declare function routeLength(byref r as Route<<<string>>>) as integer
