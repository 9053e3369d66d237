' A tray, declared in the header's namespace, extends the header's instance.
#include "stack.bi"
namespace Store
  function depth(byref s as Stack<<<string>>>) as integer
    return s.top
  end function
  type Tray extends Stack<<<string>>>
    label as string
    declare function full() as boolean
  end type
  function Tray.full() as boolean
    return top >= LIMIT
  end function
end namespace
dim t as Store.Tray
t.label = "in"
t.push("a") : t.push("b")
print t.full(); t.top;
t.push("c")
print t.full(); " "; t.pop(); t.pop(); t.top
dim plain as Stack<<<string>>>
plain.push("z")
print Store.depth(plain); " "; t.label
