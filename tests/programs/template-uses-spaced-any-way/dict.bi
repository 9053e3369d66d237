' dict.bi: a small dictionary of keys (t1) and values (t2).
template Dict
  keys(any) as t1
  values(any) as t2
  count as integer
  declare sub put(byref k as t1, byref v as t2)
  declare function get(byref k as t1, byref fallback as t2) as t2
end template

sub Dict.put(byref k as t1, byref v as t2)
  for i as integer = 0 to count - 1
    if keys(i) = k then values(i) = v : exit sub
  next
  redim preserve keys(count), values(count)
  keys(count) = k
  values(count) = v
  count += 1
end sub

function Dict.get(byref k as t1, byref fallback as t2) as t2
  for i as integer = 0 to count - 1
    if keys(i) = k then return values(i)
  next
  return fallback
end function

template Label
  text as t1
  declare function shown() as string
end template

function Label.shown() as string
  return "[" & rtrim(text) & "]"
end function

declare sub countWords(byref d as Dict<<<string, integer>>>, byref s as string)
declare function tag(byref l as Label<<<zstring * 8>>>) as string
