template Pair
  a as t1
  b as t1
  declare function sum() as t1
end template

function Pair.sum() as t1
  return a + b
end function
