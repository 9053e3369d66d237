#include once "crt/stdlib.bi"
#include once "crt/time.bi"
#include once "crt/string.bi"
#include once "fbgfx.bi"

#define MAX(a, b) iif((a) > (b), (a), (b))
#define LEN_OF(arr) (ubound(arr) - lbound(arr) + 1)

extern "C"
  declare function c_abs alias "abs" (byval n as long) as long
end extern
declare function my_labs cdecl alias "labs" (byval n as clong) as clong

template Holder
  items(0 to 3) as t1
  count as integer
  declare sub add(byval v as t1)
end template

sub Holder.add(byval v as t1)
  items(count) = v
  count += 1
end sub

' A sorted vector: its comparison is a static cdecl member handed to qsort.
template Sorted
  items(0 to 31) as t1
  count as integer
  declare static function compare cdecl(byval a as const any ptr, byval b as const any ptr) as long
  declare sub add(byval v as t1)
  declare sub sort()
  declare function largest() as t1
end template

function Sorted.compare cdecl(byval a as const any ptr, byval b as const any ptr) as long
  dim x as t1 = *cast(const t1 ptr, a)
  dim y as t1 = *cast(const t1 ptr, b)
  return iif(x < y, -1, iif(x > y, 1, 0))
end function

sub Sorted.add(byval v as t1)
  items(count) = v
  count += 1
end sub

sub Sorted.sort()
  qsort(@items(0), count, sizeof(t1), @compare)
end sub

function Sorted.largest() as t1
  dim m as t1 = items(0)
  for i as integer = 1 to count - 1
    m = MAX(m, items(i))
  next
  return m
end function

namespace Timing
  type Moment
    stamp as tm
    label as string
    declare function text() as string
  end type

  function Moment.text() as string
    dim buf as zstring * 32
    strftime(@buf, 32, "%Y-%m-%d %H:%M", @stamp)
    return label & " " & buf
  end function
end namespace

type Event
  when as Timing.Moment
  weight as long
  declare function show() as string
end type

function Event.show() as string
  return when.text() & " w=" & weight
end function

type Alarm extends Event
  loud as boolean
  declare function ring() as string
end type

function Alarm.ring() as string
  return iif(loud, "RING ", "ring ") & show()
end function

dim v as Sorted<<<long>>>
dim seeds(...) as long = {42, -7, 19, 0, 3, -100, 64}
for i as integer = 0 to LEN_OF(seeds) - 1
  v.add(seeds(i))
next
v.sort()
for i as integer = 0 to v.count - 1
  print v.items(i);
next
print
print "largest"; v.largest(); " abs"; c_abs(v.items(0)); " labs"; my_labs(-12345)

dim d as Sorted<<<double>>>
d.add(2.5) : d.add(-1.25) : d.add(9.75)
d.sort()
print d.items(0); d.items(2); d.largest()

dim a as Alarm
a.when.label = "wake"
a.when.stamp.tm_year = 124
a.when.stamp.tm_mon = 2
a.when.stamp.tm_mday = 9
a.when.stamp.tm_hour = 6
a.when.stamp.tm_min = 30
a.weight = 5
a.loud = true
print a.ring()
a.loud = false
a.weight += 2
print a.ring()

dim pics as Holder<<<FB.IMAGE ptr>>>
print "pics"; pics.count; sizeof(pics.items(0))
dim mo as Holder<<<Timing.Moment ptr>>>
mo.add(@a.parent.when)
print mo.items(0)->label; " "; MAX(3, 8); " "; strlen(a.when.label)
