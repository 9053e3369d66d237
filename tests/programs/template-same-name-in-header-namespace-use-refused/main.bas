#include once "coll.bi"
template Box
  value as t1
  declare function describe() as string
end template

function Box.describe() as string
  return "plain box " & value
end function

dim a as Coll.Box<<<integer>>>
a.value = 1
print a.describe()
