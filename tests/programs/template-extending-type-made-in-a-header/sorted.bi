' sorted.bi: a sorted bag that extends the program's Named. Its own
' declaration makes the integer instance here, where FreeBASIC's inheritance
' compiles it: the members reach Named by its members' names and through base.
#pragma once
template Sorted extends Named
  items(0 to 7) as t1
  count as integer
  declare sub add(byval v as t1)
  declare function show() as string
end template
sub Sorted.add(byval v as t1)
  dim i as integer = count
  while i > 0 andalso items(i - 1) > v
    items(i) = items(i - 1)
    i -= 1
  wend
  items(i) = v
  count += 1
  seen += 1
end sub
function Sorted.show() as string
  dim s as string = base.describe() & " (" & tag & ", " & seen & "):"
  for i as integer = 0 to count - 1
    s &= " " & items(i)
  next
  return s
end function

declare sub fill(byref s as Sorted<<<integer>>>, byval n as integer)
