template Box
  value as t1
  declare function describe() as string
end template

function Box.describe() as string
  return "plain box " & value
end function
