' A station extends the header's stop instance. The route is used first, so
' the stop's members, which keep static variables, wait for the route's type
' (in depot.bas the stop comes first). The header's copy of the instance is
' the one compiled: its statics count for plain stops, and the station's
' part counts on its own.
#include "route.bi"

declare sub depotReport(byref r as Route<<<string>>>)

type Station extends Stop<<<string>>>
  riders as integer
  declare function label() as string
end type
function Station.label() as string
  return place & "#" & position()
end function

function routeLength(byref r as Route<<<string>>>) as integer
  return r.count
end function

dim r as Route<<<string>>>
dim as Stop<<<string>>> a, b
a.place = "north" : b.place = "south"
r.append(@a) : r.append(@b)
dim st as Station
st.place = "depot"
st.owner = @r
st.riders += 12
print a.position(); b.position(); b.position(); routeLength(r)
print st.label(); " "; st.label(); st.riders
print a.visit(); b.visit(); st.visit(); st.visit(); a.visit()
depotReport(r)
