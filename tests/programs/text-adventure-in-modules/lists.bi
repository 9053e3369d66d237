' lists.bi -- a plain growable list, used by the adventure
#pragma once

template Bag
  things(any) as t1
  used as integer
  declare sub push(byref x as t1)
  declare function take(byval i as integer) as t1
  declare function indexOf(byref name_ as string) as integer
  declare property length() as integer
end template

sub Bag.push(byref x as t1)
  redim preserve things(0 to used)
  things(used) = x
  used += 1
end sub

' takes the i-th thing out and closes the gap
function Bag.take(byval i as integer) as t1
  dim x as t1 = things(i)
  for j as integer = i to used - 2
    things(j) = things(j + 1)
  next
  used -= 1
  if used = 0 then
    erase things
  else
    redim preserve things(0 to used - 1)
  end if
  return x
end function

function Bag.indexOf(byref name_ as string) as integer
  for i as integer = 0 to used - 1
    if lcase(things(i).name_) = lcase(name_) then return i
  next
  return -1
end function

property Bag.length() as integer
  return used
end property
