template Cell
  value as t1
end template

#define ELEM integer
dim a as Cell<<<ELEM>>>
a.value = 7.75
print a.value

#include "redefine.bi"
dim b as Cell<<<ELEM>>>
b.value = 7.75
print b.value
