#pragma once
#include once "crt/string.bi"
#include once "string.bi"
#include once "crt.bi"

template Ring
  slots(0 to 5) as t1
  used as integer
  start as integer
  declare sub push(byref v as t1)
  declare function item(byval i as integer) as t1
  declare function joined() as string
end template

sub Ring.push(byref v as t1)
  if used < 6 then
    slots((start + used) mod 6) = v
    used += 1
  else
    slots(start) = v
    start = (start + 1) mod 6
  end if
end sub

function Ring.item(byval i as integer) as t1
  return slots((start + i) mod 6)
end function

function Ring.joined() as string
  dim s as string
  for i as integer = 0 to used - 1
    if i > 0 then s &= ","
    s &= str(item(i))
  next
  return s
end function
