' The header declares its procedure under #if branches: with RING_WIDE left
' undefined it makes the integer ring, which the log extends. The ring's
' statistics member, under an #if of its own, keeps a static count: the
' header's copy of the instance counts for plain rings, the log's part apart.
#define RING_STATS
#include "ring.bi"
type Log extends Ring<<<integer>>>
  name as string
end type
function latest(byref r as Ring<<<integer>>>) as integer
  return r.slots((r.at - 1) mod 4)
end function
dim l as Log
l.name = "log"
for i as integer = 1 to 6
  l.add(i * 3)
next
l.at -= 1
dim r as Ring<<<integer>>>
r.add(8)
print l.name; l.at; l.slots(1); l.adds(); l.adds(); r.adds(); latest(r)
