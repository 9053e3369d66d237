' Template instances wherever FreeBASIC takes a type name: dim shared, redim,
' new and delete, sizeof, typeof, cast, pointers to pointers, results,
' byref and byval parameters, static locals, extern, declare lines, aliases,
' type<...>(...), var, with, #define and #macro bodies.
template Box
  value as t1
  declare constructor()
  declare constructor(byval v as t1)
  declare function get() as t1
end template

constructor Box()
end constructor

constructor Box(byval v as t1)
  value = v
end constructor

function Box.get() as t1
  return value
end function

template Pair
  a as t1
  b as t2
end template

type IntBox as Box<<<integer>>>

declare function make(byval n as integer) as Box<<<integer>>>
declare sub bump(byref b as Box<<<integer>>>)
declare sub tryBump(byval b as Box<<<integer>>>)

extern shared_box as Box<<<integer>>>
dim shared shared_box as Box<<<integer>>>
dim shared others(1 to 2) as Box<<<integer>>>

#define BOXED(n) Box<<<integer>>>(n)
#macro SHOWBOX(b)
  scope
    dim tmp as Box<<<integer>>> = b
    print "box"; tmp.get()
  end scope
#endmacro

shared_box.value = 11
print shared_box.get()

redim arr(1 to 3) as Box<<<integer>>>
arr(2).value = 22
redim preserve arr(1 to 4) as Box<<<integer>>>
print arr(2).get(); ubound(arr)

dim p as Box<<<integer>>> ptr = new Box<<<integer>>>(7)
dim pp as Box<<<integer>>> ptr ptr = @p
print (*pp)->get()
delete p

dim ps as Box<<<integer>>> ptr = new Box<<<integer>>>[3]
ps[1].value = 5
print ps[1].get()
delete[] ps

print sizeof(Box<<<integer>>>) = sizeof(integer), sizeof(Box<<<byte>>>)
dim t as typeof(Box<<<integer>>>)
t.value = 3
dim anyp as any ptr = @t
print cast(Box<<<integer>>> ptr, anyp)->value

function make(byval n as integer) as Box<<<integer>>>
  return Box<<<integer>>>(n)
end function

sub bump(byref b as Box<<<integer>>>)
  b.value += 1
end sub

sub tryBump(byval b as Box<<<integer>>>)
  b.value += 100
end sub

sub counter()
  static c as Box<<<integer>>>
  c.value += 1
  print "count"; c.value
end sub

dim m as IntBox = make(40)
bump(m)
tryBump(m)
print m.get()
counter()
counter()

var v = type<Pair<<<integer,double>>>>(1, 2.5)
print v.a; v.b

var w = BOXED(9)
print w.get()
SHOWBOX(w)

with others(2)
  .value = 77
  print .get()
end with
