' Uses of a template inside comments and strings are text, not code.

#include once "queue.bi"

' Dim old As Queue<<<Missing>>>
Rem Dim older As Queue<<<AlsoMissing>>>
Dim q As Queue<<<String>>> ' a Queue<<<Double>>> would do as well
q.add("it's") : Rem q.add(Queue<<<Nope>>>)
q.add("Queue<<<not a type>>>") /' Queue<<<Inline>>> '/ : q.add("done")
Print q.take(); " "; q.take(); " "; q.take()
