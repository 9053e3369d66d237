' A message about a template member below the program's own #line directive
' names the file and line that directive gives it.
template Box
  v as t1
  declare sub bad()
end template
#line 500 "virtual.bas"
sub Box.bad()
  v = undefined_name
end sub
type P
  x as integer
end type
type C extends P
  y as integer
end type
dim k as C
k.x = 1
dim b as Box<<<integer>>>
print k.x
