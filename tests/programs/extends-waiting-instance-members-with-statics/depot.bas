' A depot extends the same stop instance before anything uses the route:
' here the stop's members follow its type inside the instance's guard.
#include "route.bi"

type Depot extends Stop<<<string>>>
  bays as integer
end type

sub depotReport(byref r as Route<<<string>>>)
  dim d as Depot
  d.place = "yard"
  d.owner = @r
  d.bays += 3
  print d.place; d.bays; d.position(); d.visit(); d.visit(); routeLength(r)
end sub
