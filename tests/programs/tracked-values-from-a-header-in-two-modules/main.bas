#include "track.bi"
type Bench
  owner as string
  height as integer = 90
  declare sub raise(byval cm as integer)
end type
sub Bench.raise(byval cm as integer)
  height += cm
end sub

type Note
  when as integer
end type

dim b as Tracked<<<Bench>>>
b.owner = "ana"
b.raise(5) : b.touch()
b.height -= 2 : b.touch()
print b.owner; b.height; " "; b.report()
dim shelf as Bag<<<Tracked<<<Bench>>>>>>
shelf.add(b)
shelf.items(0).raise(1)
print shelf.items(0).height; shelf.n
dim nt as Tracked<<<Note>>>
nt.when = 5 : nt.touch()
print nt.when; " "; nt.report()
print describeAll()
