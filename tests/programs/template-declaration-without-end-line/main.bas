' The header's Box swallows the Stack's declaration up to its end line: the
' build must name the Box's line, not fail on a Stack it says is missing.
#include once "containers.bi"

Dim s As Stack<<<Integer>>>
s.push(4)
s.push(2)
Print s.count; s.items(1)
