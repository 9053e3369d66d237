' Members of a template that extends a type change the fields the instance
' inherits: line input, swap, compound assignments, with this.
type Named
  name as string
  note as string
  hits as integer
  marks(1 to 3) as integer
end type

template Entry extends Named
  value as t1
  declare sub load(byval f as integer)
  declare sub flip()
  declare sub tally(byval k as t1)
  declare sub exchange(byref o as Entry)
end template
sub Entry.load(byval f as integer)
  line input #f, name
  line input #f, this.note
  with this
    .hits += 1
  end with
end sub
sub Entry.flip()
  swap name, note
  swap marks(1), marks(3)
end sub
sub Entry.tally(byval k as t1)
  value += k
  hits += 1
  marks(2) += hits
  this.name &= "+"
end sub
sub Entry.exchange(byref o as Entry)
  swap value, o.value
  swap hits, o.hits
  swap o.name, name
end sub

open "e.txt" for output as #1
print #1, "alpha" : print #1, "one, two" : print #1, "beta" : print #1, "three"
close #1
dim as Entry<<<integer>>> a, b
open "e.txt" for input as #1
a.load(1)
b.load(1)
close #1
a.marks(1) = 7
a.tally(5) : a.tally(6)
a.flip()
print a.name; "|"; a.note; a.hits; a.value; a.marks(1); a.marks(2); a.marks(3)
a.exchange(b)
print a.name; a.hits; a.value; " "; b.name; b.hits; b.value
dim d as Entry<<<double>>>
d.tally(0.5)
print d.name; d.value; d.hits
kill "e.txt"
