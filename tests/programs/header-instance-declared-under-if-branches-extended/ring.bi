' ring.bi: a ring of four slots; which instance its procedure's declaration
' makes depends on RING_WIDE.
#pragma once
template Ring
  slots(0 to 3) as t1
  at as integer
  declare sub add(byval v as t1)
#ifdef RING_STATS
  declare function adds() as integer
#endif
end template
sub Ring.add(byval v as t1)
  slots(at mod 4) = v
  at += 1
end sub
#ifdef RING_STATS
function Ring.adds() as integer
  static n as integer
  n += 1
  return at * 10 + n
end function
#endif
#ifdef RING_WIDE
declare function latest(byref r as Ring<<<double>>>) as double
#else
declare function latest(byref r as Ring<<<integer>>>) as integer
#endif
