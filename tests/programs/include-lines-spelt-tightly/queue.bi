' queue.bi: first in, first out.
#include once"lib/stack.bi"

template Queue
  inbox as Stack<<<t1>>>
  outbox as Stack<<<t1>>>
  declare sub put(byval v as t1)
  declare function take() as t1
end template

sub Queue.put(byval v as t1)
  inbox.push(v)
end sub

function Queue.take() as t1
  if outbox.count = 0 then
    while inbox.count > 0
      outbox.push(inbox.pop())
    wend
  end if
  return outbox.pop()
end function
