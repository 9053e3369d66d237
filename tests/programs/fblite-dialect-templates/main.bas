#lang "fblite"
option gosub
option explicit
'$include once: 'crt/string.bi'

' Templates of data only in the fblite dialect, whose types hold no member
' procedures: instances are handed to plain procedures, nested, and used
' beside GOSUB and the QuickBASIC-style include.
template Pair
  first as t1
  second as t2
end template

template Table
  cells(0 to 3, 0 to 3) as t1
  rows as integer
  cols as integer
end template

type Point
  x as integer
  y as integer
end type

sub fillTable(byref t as Table<<<single>>>, byval n as integer)
  dim r as integer, c as integer
  t.rows = n
  t.cols = n
  for r = 0 to n - 1
    for c = 0 to n - 1
      t.cells(r, c) = (r + 1) / (c + 1)
    next
  next
end sub

function trace(byref t as Table<<<single>>>) as single
  dim i as integer, s as single
  for i = 0 to t.rows - 1
    s = s + t.cells(i, i)
  next
  trace = s
end function

function describe(byref p as Pair<<<Point, string>>>) as string
  describe = p.second & "@" & p.first.x & "," & p.first.y
end function

dim p as Pair<<<integer, string>>>
p.first = 3
p.second = "three"
print p.first; " "; p.second
dim q as Pair<<<Point, double>>>
q.first.x = 4
q.second = 2.5
print q.first.x; q.second; len(p); strlen("ab")

dim t as Table<<<single>>>
fillTable(t, 3)
print "trace"; trace(t); t.cells(2, 0); t.cells(0, 2)

dim named(1 to 3) as Pair<<<Point, string>>>
dim k as integer
for k = 1 to 3
  named(k).first.x = k * 10
  named(k).first.y = -k
  named(k).second = chr(64 + k)
next
for k = 1 to 3
  print describe(named(k));
  if k < 3 then print " ";
next
print

dim nest as Pair<<<Pair<<<integer, integer>>>, string>>>
nest.first.first = 7
nest.first.second = 8
nest.second = "nested"
print nest.second; nest.first.first * nest.first.second
gosub sub1
end
sub1:
  print "gosub ok"
  return
