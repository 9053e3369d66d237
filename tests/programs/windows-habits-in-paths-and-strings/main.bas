#lang "fb"
' Written on Windows: includes with backslashes, one up a folder and back,
' strings in Windows paths, and messages that say where they come from.
#include once "inc\list.bi"
#include once "inc\..\inc\list.bi"

type Shape
  x as integer
  declare function where() as string
end type

function Shape.where() as string
  return "x=" & str(x) & " at line" & str(__LINE__)
end function

type Circle extends Shape
  r as integer
  declare function own() as string
end type

function Circle.own() as string
  return __FUNCTION__ & " at line" & str(__LINE__)
end function

dim l as List<<<double>>>
l.add(1.5)
print l.describe()
dim c as Circle
c.x = 2
print c.where(); " / "; c.own()
print !"C:\\fbext\\<<<t1>>>\tdone"; " "; $"D:\type T extends U\end type"
print __FILE__; " line"; __LINE__
