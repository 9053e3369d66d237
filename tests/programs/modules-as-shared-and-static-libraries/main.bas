' Two libraries built from modules that use the same header's template, one
' shared and one static, linked into a program whose threads each fill an
' instance of it; the modules are built with different code generators, and
' all with -mt: a library built without it brings the runtime that is not
' thread-safe into the threaded program, which then frees a string twice now
' and then.
#include once "util.bi"

declare function meanOf(byval n as integer) as double

type Box
  w as integer
  declare function twice() as integer
end type

function Box.twice() as integer
  return w * 2
end function

type BigBox extends Box
  h as integer
  sums as Vec<<<integer>>>
end type

sub fillBox(byval p as any ptr)
  dim b as BigBox ptr = p
  for i as integer = 1 to b->h
    b->sums.add(i * b->w)
  next
end sub

dim boxes(0 to 2) as BigBox
dim threads(0 to 2) as any ptr
for i as integer = 0 to 2
  boxes(i).w = i + 1
  boxes(i).h = 4
  threads(i) = threadcreate(@fillBox, @boxes(i))
next
for i as integer = 0 to 2
  threadwait(threads(i))
next
for i as integer = 0 to 2
  print sumVec(boxes(i).sums); boxes(i).sums.total(); boxes(i).twice()
next
dim d as Vec<<<double>>>
d.add(0.5): d.add(0.25)
print d.total(); meanOf(4); " "; labelled(7)
