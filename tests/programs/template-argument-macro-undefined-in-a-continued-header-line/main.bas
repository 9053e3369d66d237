' A header undefines the macro used as a type argument with "#undef _" and
' the name on the next line: the two uses would share one instance, so fbext
' refuses the program at the second.
template Cell
  v as t1
end template

#define ELEM integer
dim a as Cell<<<ELEM>>>
#include "redefine.bi"
dim b as Cell<<<ELEM>>>
b.v = 1.5
print a.v; b.v
