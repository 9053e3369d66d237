' generics.bi: the containers every module of the program uses, given to
' the compiler once with -include instead of an #include in each module.
#pragma once

template Stack
  items(any) as t1
  declare sub push(byval v as t1)
  declare function pop() as t1
  declare function size() as integer
end template

sub Stack.push(byval v as t1)
  redim preserve items(size())
  items(ubound(items)) = v
end sub

function Stack.pop() as t1
  dim v as t1 = items(ubound(items))
  if ubound(items) = 0 then
    erase items
  else
    redim preserve items(ubound(items) - 1)
  end if
  return v
end function

function Stack.size() as integer
  return ubound(items) + 1
end function

template Pair
  first as t1
  second as t2
end template
