' Include lines spelt as the compiler takes them: no blank before the
' quoted name, and blanks after the "#".
#include"pair.bi"
# include once "queue.bi"
#INCLUDE ONCE"lib/stack.bi" 'already read through queue.bi

dim q as Queue<<<string>>>
q.put("a") : q.put("b") : q.put("c")
dim s as Stack<<<Pair<<<string, integer>>>>>>
dim p as Pair<<<string, integer>>>
for i as integer = 1 to 3
  p.first = q.take() : p.second = i
  s.push(p)
next
while s.count > 0
  p = s.pop()
  print p.first; p.second
wend
