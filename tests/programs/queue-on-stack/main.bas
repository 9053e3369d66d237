#include once "containers.bi"

dim q as Queue<<<integer>>>
q.add(1) : q.add(2) : q.add(3)
print q.take(); q.take();
q.add(4)
print q.take(); q.take()

dim names as Queue<<<string>>>
names.add("first") : names.add("second")
print names.take(); " "; names.take()

' A stack of its own, the instance the queue already generated.
dim s as Stack<<<integer>>>
s.push(9)
print s.pop()
