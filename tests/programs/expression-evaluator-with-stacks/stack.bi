' stack.bi - generic containers for the calculator
#ifndef __STACK_BI__
#define __STACK_BI__

namespace Calc

  ' a stack that grows as needed
  template Stack
    data_(any) as t1
    top_ as integer = -1
    static pushes as integer
    declare sub push(byref v as t1)
    declare function pop() as t1
    declare function peek() byref as t1
    declare function isEmpty() as boolean
    declare property depth() as integer
    declare operator [](byval i as integer) byref as t1
  end template

  dim Stack.pushes as integer

  sub Stack.push(byref v as t1)
    top_ += 1
    if top_ > ubound(data_) then redim preserve data_(top_ * 2 + 1)
    data_(top_) = v
    pushes += 1
  end sub

  function Stack.pop() as t1
    if top_ < 0 then error 1000   ' stack underflow
    top_ -= 1
    return data_(top_ + 1)
  end function

  function Stack.peek() byref as t1
    return data_(top_)
  end function

  function Stack.isEmpty() as boolean
    return top_ < 0
  end function

  property Stack.depth() as integer
    return top_ + 1
  end property

  operator Stack.[](byval i as integer) byref as t1
    return data_(i)
  end operator

  ' a table of named values
  template Table
    names(any) as string
    vals(any) as t2
    declare sub set_(byref k as t1, byval v as t2)
    declare function lookup(byref k as t1, byref found as boolean) as t2
  end template

  sub Table.set_(byref k as t1, byval v as t2)
    for i as integer = 0 to ubound(names)
      if names(i) = k then vals(i) = v : exit sub
    next
    dim n as integer = ubound(names) + 1
    redim preserve names(n) : redim preserve vals(n)
    names(n) = k : vals(n) = v
  end sub

  function Table.lookup(byref k as t1, byref found as boolean) as t2
    found = false
    for i as integer = 0 to ubound(names)
      if names(i) = k then found = true : return vals(i)
    next
    return 0
  end function

end namespace

#endif
