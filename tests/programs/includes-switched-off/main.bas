' Headers no longer wanted, switched off the ways users do it: the compiler
' never reads them, so neither may their half-written templates matter.
/' replaced by the stack:
#include once "old\queue.bi"
'/
#if 0
#include once "old/queue.bi"
#else
#include once "stack.bi"
#endif
' #include "old/queue.bi"

dim s as Stack<<<string>>>
s.push("first")
s.push("second")
print s.count; " "; s.items(1)
