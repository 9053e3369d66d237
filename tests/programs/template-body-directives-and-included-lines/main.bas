' #ifdef around a member of a template with two instances, and headers
' included from inside a member procedure: each instance reads them.
#define CELL_EXTRA
template Cell
  v as t1
  count as integer
#ifdef CELL_EXTRA
  extra as t1
#endif
#ifdef CELL_MISSING
  missing as t1
#endif
  declare sub bump()
end template

sub Cell.bump()
  #include "step.bi"
  #include "mark.bi"
  v += MARK
end sub

dim a as Cell<<<integer>>>
dim b as Cell<<<double>>>
a.bump() : a.bump()
b.extra = 0.25
b.bump()
print a.count; a.v; b.count; b.v; b.extra
print sizeof(a) = 3 * sizeof(integer), sizeof(b) = 2 * sizeof(double) + sizeof(integer)
