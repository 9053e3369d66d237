' stack.bi: a generic stack; Stack<<<integer>>> is a stack of integers.

template Stack
  items(any) as t1
  count as integer
  declare sub push(byval value as t1)
  declare function pop() as t1
  declare function isEmpty() as boolean
end template

sub Stack.push(byval value as t1)
  if count > ubound(this.items) then
    redim preserve this.items(count * 2 + 7)
  end if
  items(count) = value
  count += 1
end sub

function Stack.pop() as t1
  count -= 1
  return items(count)
end function

function Stack.isEmpty() as boolean
  return count = 0
end function
