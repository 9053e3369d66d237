' Uses a stack whose pop() has a typo in stack.bi: the compiler must name the
' header and the line of the template member, not the generated text.

#include once "stack.bi"

Dim jobs As Stack<<<string>>>
jobs.push("compile")
jobs.push("link")
Print "next job: "; jobs.pop()
