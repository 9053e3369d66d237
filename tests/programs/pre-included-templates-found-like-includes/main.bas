' The templates come from lib/generics.bi, which the compiler includes at
' the top of each module: it finds it in the -i folder.
declare function reversed(byref s as string) as string

dim undo as Stack<<<Pair<<<string, integer>>>>>>
dim p as Pair<<<string, integer>>>
p.first = "typed" : p.second = 5 : undo.push(p)
p.first = "deleted" : p.second = 2 : undo.push(p)
while undo.size() > 0
  p = undo.pop()
  print p.first; p.second
wend
print reversed("stack")
