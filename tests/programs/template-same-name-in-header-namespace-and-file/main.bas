' A header's template in a namespace and the file's own template of the same
' name outside any: a use outside the namespace gets the file's own.
#include once "coll.bi"

template Box
  value as t1
  declare function describe() as string
end template

function Box.describe() as string
  return "plain box " & value
end function

dim b as Box<<<integer>>>
b.value = 2
print b.describe()
