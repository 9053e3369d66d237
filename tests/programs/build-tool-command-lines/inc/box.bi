' A box of any one value, shared by the library and the program.
template Box
  value as t1
  declare function get() as t1
end template

function Box.get() as t1
  return value
end function

declare function totalArea(byval count as integer) as integer
