' Short members written on one line, statements separated by ":", as
' FreeBASIC allows: in a template, in a parent type, in the types that
' extend it, and at module level between them.
template Box
  v as t1
  declare function get() as t1
  declare sub set(byval x as t1)
  declare property value() as t1
  declare property value(byval x as t1)
end template

function Box.get() as t1 : return v : end function
sub Box.set(byval x as t1) : v = x : End Sub ' stores it
property Box.value() as t1 : return v : end property
property Box.value(byval x as t1) : v = x : end property

sub note(byref s as string) : print "note: "; s : end sub

type Counter
  n as integer
  label as string = "c"
  declare sub bump(byval by_ as integer = 1)
  declare function twice() as integer
  declare function copy() as Counter
  declare property size() as integer
  declare property size(byval v as integer)
end type

sub Counter.bump(byval by_ as integer) : n += by_ : end sub
function Counter.twice() as integer : return n * 2 : end function ' ": end function" in a comment
function Counter.copy() as Counter : dim c as Counter = this : return c : end function
property Counter.size() as integer : return n : end property
property Counter.size(byval v as integer) : n = v : end property
Sub Counter_report(byref c as Counter) : print c.label; ":"; c.n : End Sub

type Clicks extends Counter
  declare sub click()
end type

sub Clicks.click() : bump() : bump(10) : end sub

dim b as Box<<<integer>>>
b.set(4)
b.value = b.value + b.get()
print b.get(); b.value
dim s as Box<<<string>>>
s.set("x:y")
print s.get()
note("one line")

dim k as Clicks
k.click()
k.size = k.size + 1
print k.n; k.twice(); k.size; " "; k.label
dim c as Counter = k.parent.copy()
Counter_report(c)
