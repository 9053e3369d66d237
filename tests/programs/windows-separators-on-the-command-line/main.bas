' Built with a command line written for Windows: the include folder, the
' file included before the source and the response file are named with "\",
' which the compiler on this system reads as "/".
#include once "stack.bi"

type Item
  name as string
  declare function label() as string
end type

function Item.label() as string
  return "<" & name & ">"
end function

type Tool extends Item
  weight as integer
end type

dim tools as Stack<<<string>>>
tools.push("saw")
dim p as Pair<<<string, integer>>>
p.first = "count" : p.second = 1
dim t as Tool
t.name = "hammer" : t.weight = 3
print tools.items(0); " "; p.first; p.second; " "; t.label(); t.weight
