' A template that uses itself with a growing argument never ends.
template Tree
  value as t1
  children as Tree<<<Tree<<<t1>>>>>> ptr
end template

dim t as Tree<<<integer>>>
print "never compiled"
