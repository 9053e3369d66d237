' Adds up a day's sales kept on a stack. The last line misspells "total":
' the compiler must name this file and this line.

#include once "stack.bi"

Dim sales As Stack<<<double>>>
sales.push(12.5)
sales.push(7.25)

Dim total As Double
Do Until sales.isEmpty()
  total += sales.pop()
Loop
Print "total:"; totl
