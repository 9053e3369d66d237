' A box of boxes and a pair of boxes: uses inside uses, expanded inside out.

template Box
  value as t1
  declare sub fill(byref v as t1)
end template

sub Box.fill(byref v as t1)
  value = v
end sub

template Pair
  first as t1
  second as t2
end template

dim inner as Box<<<integer>>>
inner.fill(7)
dim outer as Box<<<Box<<<integer>>>>>>
outer.fill(inner)
print "box of box:"; outer.value.value

dim p as Pair<<<Box<<<integer>>>, Box<<<string>>>>>>
p.first.fill(3)
p.second.fill("three")
print p.first.value; " "; p.second.value
