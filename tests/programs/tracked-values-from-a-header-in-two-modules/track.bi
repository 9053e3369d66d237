#ifndef TRACK_BI
#define TRACK_BI
' a value of any type with a change count
template Tracked extends t1
  changes as integer
  declare sub touch()
  declare function report() as string
end template

sub Tracked.touch()
  changes += 1
end sub

function Tracked.report() as string
  return "changed " & changes & " times"
end function

template Bag
  items(0 to 3) as t1
  n as integer
  declare sub add(byref v as t1)
end template

sub Bag.add(byref v as t1)
  items(n) = v
  n += 1
end sub

declare function describeAll() as string
#endif
