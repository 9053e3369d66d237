' A macro used as a type argument names another type after its #undef:
' the two uses would share one instance, so fbext refuses the program.
template Cell
  v as t1
end template

#define ELEM integer
dim a as Cell<<<ELEM>>>
a.v = 1.5
print a.v
#undef ELEM
#define ELEM double
dim b as Cell<<<ELEM>>>
b.v = 1.5
print b.v
