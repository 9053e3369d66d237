' stack.bi: a stack of any element type.
template Stack
  items(any) as t1
  count as integer
  declare sub push(byval v as t1)
  declare function pop() as t1
end template

sub Stack.push(byval v as t1)
  redim preserve items(count)
  items(count) = v
  count += 1
end sub

function Stack.pop() as t1
  count -= 1
  return items(count)
end function
