' stack.bi: a stack template, and a namespace whose declaration makes the
' string instance.
#pragma once
template Stack
  items(0 to 15) as t1
  top as integer
  declare sub push(byval v as t1)
  declare function pop() as t1
end template
sub Stack.push(byval v as t1)
  items(top) = v
  top += 1
end sub
function Stack.pop() as t1
  top -= 1
  return items(top)
end function
namespace Store
  const LIMIT = 3
  declare function depth(byref s as Stack<<<string>>>) as integer
end namespace
