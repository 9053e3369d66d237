#ifndef LIST_BI
#define LIST_BI
template List
  items(0 to 3) as t1
  count as integer
  declare sub add(byref v as t1)
end template

sub List.add(byref v as t1)
  items(count) = v
  count += 1
end sub
#endif
