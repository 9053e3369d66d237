#include "stack.bi"
#include "box.bi"

dim s as Stack<<<integer>>>
s.push(5)
dim b as Box<<<string>>>
b.value = "boxed"
print s.count; s.items(0); " "; b.value
