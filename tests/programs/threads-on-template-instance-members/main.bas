#include once "fbthread.bi"
#include once "crt/string.bi"
#include once "string.bi"

' Workers sum slices of an array on threads; the thread procedures are static
' members of a template instance.
template Slice
  first as integer
  last as integer
  data as t1 ptr
  total as t1
  declare static sub work(byval p as any ptr)
  declare function size() as integer
end template

sub Slice.work(byval p as any ptr)
  dim self as Slice ptr = p
  dim acc as t1
  for i as integer = self->first to self->last
    acc += self->data[i]
  next
  self->total = acc
end sub

function Slice.size() as integer
  return last - first + 1
end function

type Job
  id as integer
  label as string
  declare function tag() as string
end type

function Job.tag() as string
  return "job#" & id & ":" & label
end function

type SumJob extends Job
  slices(0 to 3) as Slice<<<longint>>>
  declare function grand() as longint
end type

function SumJob.grand() as longint
  dim g as longint
  for i as integer = 0 to 3
    g += slices(i).total
  next
  return g
end function

dim shared numbers(0 to 999) as longint
for i as integer = 0 to 999
  numbers(i) = i * i
next

dim j as SumJob
j.id = 7
j.label = "squares"
dim handles(0 to 3) as any ptr
for k as integer = 0 to 3
  j.slices(k).first = k * 250
  j.slices(k).last = k * 250 + 249
  j.slices(k).data = @numbers(0)
  handles(k) = threadcreate(@Slice<<<longint>>>.work, @j.slices(k))
next
for k as integer = 0 to 3
  threadwait(handles(k))
next
for k as integer = 0 to 3
  print k; j.slices(k).size(); j.slices(k).total
next
print j.tag(); " total "; j.grand()

' a mutex-guarded counter from the same header
dim shared m as any ptr
dim shared counter as integer
sub bump(byval p as any ptr)
  for i as integer = 1 to 1000
    mutexlock(m)
    counter += 1
    mutexunlock(m)
  next
end sub
m = mutexcreate()
dim t1h as any ptr = threadcreate(@bump)
dim t2h as any ptr = threadcreate(@bump)
threadwait(t1h)
threadwait(t2h)
mutexdestroy(m)
print "counter"; counter
print format(j.grand() / 1000, "0.0")
