' Templates with the preprocessor: a type argument given by a #define and by
' an alias, macros called in members, #if on sizeof(t1) in a member, #assert
' on an instance, and names a member uses defined again after its first use.
#define ELEM integer
#define STEP_BY 2
#define SQUARE(x) ((x) * (x))
#macro CLAMP(v, lo, hi)
  if v < lo then v = lo
  if v > hi then v = hi
#endmacro
type Real as double
template List
  items(0 to 7) as t1
  count as integer
  declare sub add(byval v as t1)
  declare function total() as t1
  declare function squares() as t1
  declare sub limit(byval m as t1)
  declare sub tick()
  declare function wide() as string
end template
sub List.add(byval v as t1)
  items(count) = v
  count += STEP_BY \ 2
end sub
function List.total() as t1
  dim s as t1
  for i as integer = 0 to count - 1 : s += items(i) : next
  return s
end function
function List.squares() as t1
  dim s as t1
  for i as integer = 0 to count - 1 : s += SQUARE(items(i)) : next
  return s
end function
sub List.limit(byval m as t1)
  for i as integer = 0 to count - 1
    CLAMP(items(i), -m, m)
  next
end sub
sub List.tick()
  items(0) += STEP_BY
end sub
function List.wide() as string
#if sizeof(t1) >= 8
  return "wide"
#else
  return "narrow"
#endif
end function
#assert sizeof(List<<<short>>>) = 8 * 2 + sizeof(integer)
dim a as List<<<ELEM>>>
dim b as List<<<Real>>>
dim c as List<<<short>>>
a.add(3) : a.add(-40) : a.add(4)
b.add(1.5) : b.add(2.25)
print a.total(); b.total(); a.squares(); b.squares()
a.limit(10)
print a.total(); " "; a.wide(); " "; b.wide(); " "; c.wide()
a.tick()
print a.items(0)
#undef STEP_BY
#define STEP_BY 10
a.tick()
print a.items(0); sizeof(a.items(0)); sizeof(b.items(0))
