' list.bi: a growable list and a sorted list built on it. Its own declaration
' below uses Sorted<<<integer>>>, so every file that includes it gets that
' instance, and the list under it, from the header too.
#ifndef LIST_BI
#define LIST_BI
template List
  items(any) as t1
  count as integer
  declare sub add(byref v as t1)
  declare function at(byval i as integer) byref as t1
#ifdef LIST_DEBUG
  declare sub dump()
#endif
end template
sub List.add(byref v as t1)
  redim preserve items(count)
  items(count) = v
  count += 1
end sub
function List.at(byval i as integer) byref as t1
  return items(i)
end function
#ifdef LIST_DEBUG
sub List.dump()
  for i as integer = 0 to count - 1
    print items(i); " ";
  next
  print
end sub
#endif

template Sorted extends List<<<t1>>>
  declare sub insert(byref v as t1)
end template
sub Sorted.insert(byref v as t1)
  add(v)
  for i as integer = count - 1 to 1 step -1
    if items(i - 1) <= items(i) then exit for
    swap items(i - 1), items(i)
  next
end sub

declare sub fillScores(byref s as Sorted<<<integer>>>, byval n as integer)
declare function boardTotal() as integer
declare function tallied() as integer
#endif
