template Box
  value as t1
end template
dim b as Box<<<integer>>>
b.value = 42
print "PROG.BAS"; b.value
