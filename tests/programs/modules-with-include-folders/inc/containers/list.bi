' list.bi: a growing list; t1 is the element type.
#pragma once

template List
  items(any) as t1
  count as integer
  declare sub add(byref v as t1)
  declare function at(byval i as integer) byref as t1
  declare function size() as integer
end template

sub List.add(byref v as t1)
  redim preserve items(count)
  items(count) = v
  count += 1
end sub

function List.at(byval i as integer) byref as t1
  return items(i)
end function

function List.size() as integer
  return count
end function
