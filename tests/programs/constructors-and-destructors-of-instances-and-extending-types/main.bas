' Constructors and destructors that print, for template instances that extend
' a type and types that extend instances, made with dim, new, new[] and as
' temporaries.
type Res
  id as integer
  declare constructor()
  declare constructor(byref o as Res)
  declare destructor()
  declare operator let(byref o as Res)
end type
constructor Res()
  print "  Res()"
end constructor
constructor Res(byref o as Res)
  id = o.id
  print "  Res(copy"; o.id; ")"
end constructor
destructor Res()
  print "  ~Res"; id
end destructor
operator Res.let(byref o as Res)
  print "  Res let"; o.id
  id = o.id
end operator

template Holder extends Res
  payload as t1
  declare constructor()
  declare constructor(byref p as t1)
  declare destructor()
end template
constructor Holder()
  print "  Holder()"
end constructor
constructor Holder(byref p as t1)
  payload = p
  print "  Holder("; p; ")"
end constructor
destructor Holder()
  print "  ~Holder "; payload
end destructor

type Named extends Holder<<<string>>>
  alias_ as string
  declare constructor()
  declare destructor()
end type
constructor Named()
  print "  Named()"
end constructor
destructor Named()
  print "  ~Named "; alias_
end destructor

function makeHolder(byval n as integer) as Holder<<<integer>>>
  dim h as Holder<<<integer>>> = Holder<<<integer>>>(n)
  h.id = n
  return h
end function

print "dim"
scope
  dim a as Holder<<<integer>>>
  a.id = 1
  dim n as Named
  n.id = 2 : n.payload = "pn" : n.alias_ = "nm"
end scope
print "new"
dim p as Holder<<<string>>> ptr = new Holder<<<string>>>("boxed")
p->id = 3
print p->payload; p->id
delete p
dim q as Named ptr = new Named
q->id = 4 : q->alias_ = "qa"
q->id += 1
delete q
print "new[]"
dim arr as Named ptr = new Named[2]
arr[0].id = 6 : arr[1].id = 7
arr[1].id += 10
arr[0].alias_ = "a0" : arr[1].alias_ = "a1"
delete[] arr
print "temporary"
print makeHolder(8).payload
print "copy"
scope
  dim x as Holder<<<integer>>> = Holder<<<integer>>>(9)
  x.id = 9
  dim y as Holder<<<integer>>> = x
  y.id += 1
  x = y
  print x.id; y.id
end scope
print "end"
