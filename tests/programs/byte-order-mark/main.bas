' Saved as UTF-8 with a byte order mark, which must stay the file's first
' bytes. (Printing numbers only: in a Unicode source a string literal is wide.)

#include once "stack.bi"

Dim s As Stack<<<integer>>>
s.push(12)
s.push(34)
Print s.pop(); s.pop()
