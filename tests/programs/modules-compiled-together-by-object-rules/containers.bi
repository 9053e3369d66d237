' containers.bi: generic containers shared by every module.
#ifndef CONTAINERS_BI
#define CONTAINERS_BI
template Stack
  items(0 to 31) as t1
  count as integer
  declare sub push(byval v as t1)
  declare function pop() as t1
  declare function total() as t1
end template

sub Stack.push(byval v as t1)
  items(count) = v
  count += 1
end sub

function Stack.pop() as t1
  count -= 1
  return items(count)
end function

function Stack.total() as t1
  dim s as t1
  for i as integer = 0 to count - 1
    s += items(i)
  next
  return s
end function

template Pair
  first as t1
  second as t2
  declare function show() as string
end template

function Pair.show() as string
  return "(" & first & ", " & second & ")"
end function
#endif
