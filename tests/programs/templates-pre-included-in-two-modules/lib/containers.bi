' containers.bi: a pair and a growing list, for any element types.
#ifndef CONTAINERS_BI
#define CONTAINERS_BI

template Pair
  key as t1
  value as t2
  declare constructor()
  declare constructor(byref k as t1, byref v as t2)
end template

constructor Pair()
end constructor

constructor Pair(byref k as t1, byref v as t2)
  key = k
  value = v
end constructor

template List
  items(any) as t1
  count as integer
  declare sub add(byref v as t1)
  declare function at(byval i as integer) byref as t1
end template

sub List.add(byref v as t1)
  redim preserve items(count)
  items(count) = v
  count += 1
end sub

function List.at(byval i as integer) byref as t1
  return items(i)
end function

#endif
