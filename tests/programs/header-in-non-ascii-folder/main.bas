' The header lies in a folder whose name is not ASCII: the compiler must
' name that header, under its real name, at the line of the template member.

#include once "déjà код/stack.bi"

Dim jobs As Stack<<<string>>>
jobs.push("compile")
Print "next job: "; jobs.pop()
