' A growable list, used by the main program found through two response files.
template List
  items(any) as t1
  count as integer
  declare sub add(byref v as t1)
end template

sub List.add(byref v as t1)
  redim preserve items(count)
  items(count) = v
  count += 1
end sub
