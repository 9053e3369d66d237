#PRAGMA ONCE
' Read once however many times it is included.
template Cell
  v as t1
  declare function twice() as t1
end template

function Cell.twice() as t1
  return v * 2
end function
