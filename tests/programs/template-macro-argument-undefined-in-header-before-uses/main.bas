' A header that redefines a macro before the uses of its instance, and a
' header that undefines another name between them: one instance, as meant.
template Cell
  value as t1
end template

#define ELEM integer
#include "redefine.bi"
dim a as Cell<<<ELEM>>>
a.value = 7.75
print a.value
#include "unrelated.bi"
dim b as Cell<<<ELEM>>>
b.value = 1.5
print b.value
