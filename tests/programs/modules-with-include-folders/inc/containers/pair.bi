' pair.bi: two values of any types.
template Pair
  first as t1
  second as t2
  declare function show() as string
end template

function Pair.show() as string
  return "(" & first & ", " & second & ")"
end function
