' A vector template with members of every kind: constructors with defaults,
' a copy constructor and let, a destructor, [] and += and cast, an indexed
' property, static data and a static function, a const member, an enum and a
' constant inside it, and t1 in sizeof, cast and cptr; and a counter template
' that for ... next walks with and without step.
template Vec
  enum Kind
    kEmpty
    kShort
    kLong
  end enum
  const LONGEST = 3
  static live as integer
  items as t1 ptr
  n as integer
  declare constructor(byval n as integer = 3, byval fill as t1 = 1)
  declare constructor(byref other as Vec)
  declare destructor()
  declare operator let(byref other as Vec)
  declare operator [](byval i as integer) byref as t1
  declare operator +=(byref other as Vec)
  declare operator cast() as string
  declare property item(byval i as integer) as t1
  declare property item(byval i as integer, byval v as t1)
  declare property size() as integer
  declare static function elemSize() as integer
  declare const function first() as t1
  declare function kindOf() as Kind
  declare function rawAt(byval i as integer) as t1
end template

dim Vec.live as integer

constructor Vec(byval n as integer, byval fill as t1)
  this.n = n
  items = allocate(n * sizeof(t1))
  for i as integer = 0 to n - 1
    items[i] = fill
  next
  live += 1
end constructor

constructor Vec(byref other as Vec)
  n = other.n
  items = allocate(n * sizeof(t1))
  for i as integer = 0 to n - 1
    items[i] = other.items[i]
  next
  live += 1
end constructor

destructor Vec()
  deallocate(items)
  live -= 1
end destructor

operator Vec.let(byref other as Vec)
  if @other = @this then exit operator
  deallocate(items)
  n = other.n
  items = allocate(n * sizeof(t1))
  for i as integer = 0 to n - 1
    items[i] = other.items[i]
  next
end operator

operator Vec.[](byval i as integer) byref as t1
  return items[i]
end operator

operator Vec.+=(byref other as Vec)
  for i as integer = 0 to n - 1
    items[i] += other[i]
  next
end operator

operator Vec.cast() as string
  dim s as string = "["
  for i as integer = 0 to n - 1
    if i > 0 then s &= ","
    s &= str(items[i])
  next
  return s & "]"
end operator

property Vec.item(byval i as integer) as t1
  return items[i]
end property

property Vec.item(byval i as integer, byval v as t1)
  items[i] = v
end property

property Vec.size() as integer
  return n
end property

static function Vec.elemSize() as integer
  return sizeof(t1)
end function

const function Vec.first() as t1
  return items[0]
end function

function Vec.kindOf() as Kind
  if n = 0 then return kEmpty
  if n <= LONGEST then return kShort
  return kLong
end function

function Vec.rawAt(byval i as integer) as t1
  dim p as t1 ptr = cptr(t1 ptr, cast(byte ptr, items) + i * sizeof(t1))
  dim self as Vec ptr = @this
  if p <> @self->items[i] then return -1
  return *p
end function

template Counter
  cur as t1
  declare constructor(byval start as t1 = 0)
  declare operator for()
  declare operator step()
  declare operator next(byref finish as Counter) as integer
  declare operator for(byref stp as Counter)
  declare operator step(byref stp as Counter)
  declare operator next(byref finish as Counter, byref stp as Counter) as integer
end template

constructor Counter(byval start as t1)
  cur = start
end constructor

operator Counter.for()
end operator

operator Counter.step()
  cur += 1
end operator

operator Counter.next(byref finish as Counter) as integer
  return cur <= finish.cur
end operator

operator Counter.for(byref stp as Counter)
end operator

operator Counter.step(byref stp as Counter)
  cur += stp.cur
end operator

operator Counter.next(byref finish as Counter, byref stp as Counter) as integer
  return cur <= finish.cur
end operator

scope
  dim a as Vec<<<integer>>>
  dim b as Vec<<<integer>>> = Vec<<<integer>>>(3, 10)
  a += b
  a[1] = 5
  a.item(2) = 7
  print "a=" & a; a.size; a.first(); a.item(2); a.rawAt(1)
  print Vec<<<integer>>>.elemSize(); Vec<<<byte>>>.elemSize()
  print Vec<<<integer>>>.live
  dim c as Vec<<<double>>> = Vec<<<double>>>(5, 0.5)
  print "c=" & c; c.kindOf() = Vec<<<double>>>.kLong; Vec<<<integer>>>.LONGEST
  dim d as Vec<<<integer>>>
  d = a
  d[0] = 100
  print "d=" & d; " a=" & a
  print Vec<<<integer>>>.live; Vec<<<double>>>.live
end scope
print Vec<<<integer>>>.live; Vec<<<double>>>.live

for c as Counter<<<integer>>> = Counter<<<integer>>>(1) to Counter<<<integer>>>(3)
  print c.cur;
next
print
for c as Counter<<<double>>> = Counter<<<double>>>(0.5) to Counter<<<double>>>(2) step Counter<<<double>>>(0.75)
  print c.cur;
next
print
