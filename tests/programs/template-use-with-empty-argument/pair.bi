template Pair
  first as t1
  second as t2
  declare function describe() as string
end template

function Pair.describe() as string
  return str(first) & " / " & str(second)
end function
