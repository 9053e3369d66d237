#pragma once
' Templates of a namespace in a header that point at each other.
namespace Links
  const LIMIT = 3

  template Node
    value as t1
    owner as Chain<<<t1>>> ptr
    nxt as Node<<<t1>>> ptr
  end template

  template Chain
    head as Node<<<t1>>> ptr
    count as integer
    declare sub push(byref v as t1)
    declare destructor()
  end template

  sub Chain.push(byref v as t1)
    if count >= LIMIT then exit sub
    dim n as Node<<<t1>>> ptr = new Node<<<t1>>>
    n->value = v
    n->owner = @this
    n->nxt = head
    head = n
    count += 1
  end sub

  destructor Chain()
    while head
      dim n as Node<<<t1>>> ptr = head
      head = head->nxt
      delete n
    wend
  end destructor
end namespace
