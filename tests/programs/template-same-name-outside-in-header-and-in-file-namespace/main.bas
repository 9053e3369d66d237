' A header's template outside any namespace and the file's own of the same
' name in a namespace: uses that name the namespace, or stand in it, get its own.
#include once "plain.bi"
namespace Coll
  template Box
    value as t1
    declare function describe() as string
  end template

  function Box.describe() as string
    return "coll box " & value
  end function

  dim shared inner as Box<<<integer>>>
end namespace

dim a as Coll.Box<<<integer>>>
a.value = 1
Coll.inner.value = 3
print a.describe(); " "; Coll.inner.describe()
