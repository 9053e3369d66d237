' "# undef" is an #undef too: ELEM names another type after it, and the two
' uses would share one instance, so fbext refuses the program.
template Cell
  v as t1
end template

#define ELEM integer
dim a as Cell<<<ELEM>>>
a.v = 1.5
print a.v
# undef ELEM ' then redefined
#define ELEM double
dim b as Cell<<<ELEM>>>
b.v = 1.5
print b.v
