' events.bi: a list of anything, and the handlers an event system keeps in it.
template List
  items(any) as t1
  count as integer
  declare sub add(byval v as t1)
end template

sub List.add(byval v as t1)
  redim preserve items(count)
  items(count) = v
  count += 1
end sub

template Named
  name as string
  fn as t1
end template

declare sub fire(byref handlers as List<<<sub(byval code as integer)>>>, byval code as integer)
