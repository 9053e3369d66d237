' A stack of integers, a stack of doubles and a list of strings, all from
' the templates in containers.bi.

#include once "containers.bi"

Dim squares As Stack<<<Integer>>>
For i As Integer = 1 To 5
  squares.push(i * i)
Next
Print "top of the stack:"; squares.top()
Print "popped:";
While Not squares.isEmpty()
  Print squares.pop();
Wend
Print

Dim prices As Stack<<<Double>>>
prices.push(9.5) : prices.push(12.25)
Print "last price:"; prices.pop(); ", prices left:"; prices.count

Dim names As List<<<String>>>
names.add("Ada")
names.add("Grace")
names.add("Linus")
names.setAt(2, "Ken")
For i As Integer = 0 To names.size - 1
  Print i; ": "; names.getAt(i)
Next
Print "Grace is at"; names.indexOf("Grace"); ", Linus at"; names.indexOf("Linus")
