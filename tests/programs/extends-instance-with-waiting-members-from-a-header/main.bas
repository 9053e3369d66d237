' A station extends the header's stop instance; the route it stops on is used
' first, so the stop's members wait for the route's type.
#include "route.bi"

declare function busiest(byref r as Route<<<string>>>) as string

type Station extends Stop<<<string>>>
  riders as integer
  declare function label() as string
end type
function Station.label() as string
  return place & "#" & position()
end function

function busiest(byref r as Route<<<string>>>) as string
  return r.last->place
end function

function describeRoute(byref r as Route<<<string>>>) as string
  dim s as string
  dim p as Stop<<<string>>> ptr = r.first
  while p
    s &= p->place & " "
    p = p->nxt
  wend
  return s & "(" & r.count & ")"
end function

dim r as Route<<<string>>>
dim as Stop<<<string>>> a, b
a.place = "north" : b.place = "south"
r.append(@a) : r.append(@b)
dim st as Station
st.place = "depot"
st.owner = @r
st.riders += 12
st.nxt = r.first
print describeRoute(r)
print st.label(); st.riders; " "; st.nxt->place; " "; b.position(); " "; busiest(r)
