#include once "box.bi"
function boxed(byval v as integer) as integer
  dim b as Box<<<integer>>>
  b.value = v
  return b.value * 2
end function
