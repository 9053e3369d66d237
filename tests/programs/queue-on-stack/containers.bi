' A stack, and a queue built on two stacks: Queue<<<t1>>> uses Stack<<<t1>>>.

template Stack
  items(0 to 31) as t1
  count as integer
  declare sub push(byval v as t1)
  declare function pop() as t1
  declare function isEmpty() as boolean
end template

sub Stack.push(byval v as t1)
  items(count) = v
  count += 1
end sub

function Stack.pop() as t1
  count -= 1
  return items(count)
end function

function Stack.isEmpty() as boolean
  return count = 0
end function

template Queue
  inbox as Stack<<<t1>>>
  outbox as Stack<<<t1>>>
  declare sub add(byval v as t1)
  declare function take() as t1
end template

sub Queue.add(byval v as t1)
  inbox.push(v)
end sub

function Queue.take() as t1
  if outbox.isEmpty() then
    while not inbox.isEmpty()
      outbox.push(inbox.pop())
    wend
  end if
  return outbox.pop()
end function
