template Map
  key as t1
  value as t2
end template

dim ok as Map<<<string, integer>>>
dim m as Map<<<string>>>
print "never compiled"
