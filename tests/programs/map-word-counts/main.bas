' A map with keys of its first type argument and values of its second.

template Map
  keys(any) as t1
  values(any) as t2
  count as integer
  declare sub add(byref key as t1, byval amount as t2)
  declare function find(byref key as t1) as integer
end template

function Map.find(byref key as t1) as integer
  for i as integer = 0 to count - 1
    if keys(i) = key then return i
  next
  return -1
end function

sub Map.add(byref key as t1, byval amount as t2)
  dim at as integer = find(key)
  if at < 0 then
    at = count
    count += 1
    redim preserve keys(count - 1)
    redim preserve values(count - 1)
    keys(at) = key
  end if
  values(at) += amount
end sub

dim counts as Map<<<string, integer>>>
dim text as string = "the cat and the dog and the bird"
dim word as string
for i as integer = 1 to len(text) + 1
  dim c as string = mid(text, i, 1)
  if c = " " or c = "" then
    if len(word) then counts.add(word, 1)
    word = ""
  else
    word &= c
  end if
next
for i as integer = 0 to counts.count - 1
  print counts.keys(i); counts.values(i)
next
