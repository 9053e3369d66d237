' words.bas: the second module, with a stack of its own element type.
function reversed(byref s as string) as string
  dim letters as Stack<<<string>>>
  for i as integer = 1 to len(s)
    letters.push(mid(s, i, 1))
  next
  dim r as string
  while letters.size() > 0
    r &= letters.pop()
  wend
  return r
end function
