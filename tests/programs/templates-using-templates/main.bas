' Templates that use each other, with static members, outside operators,
' macros around members, select case on t1 and t1 ptr buffers.
#define CAPACITY_OF(n) ((n) * 2)

template Vec
  x as t1
  y as t1
  declare constructor()
  declare constructor(byval a as t1, byval b as t1)
  declare function sum() as t1
  declare operator cast() as string
end template

constructor Vec()
end constructor

constructor Vec(byval a as t1, byval b as t1)
  x = a
  y = b
end constructor

function Vec.sum() as t1
  return x + y
end function

operator Vec.cast() as string
  return "<" & x & "," & y & ">"
end operator

operator + (byref a as Vec<<<integer>>>, byref b as Vec<<<integer>>>) as Vec<<<integer>>>
  return Vec<<<integer>>>(a.x + b.x, a.y + b.y)
end operator

operator * (byref a as Vec<<<double>>>, byval k as double) as Vec<<<double>>>
  return Vec<<<double>>>(a.x * k, a.y * k)
end operator

template Buffer
  p as t1 ptr
  n as integer
  static made as integer
  declare constructor(byval size as integer)
  declare destructor()
  declare sub fill(byref v as t1)
  declare function get(byval i as integer) as t1
  declare sub put(byval i as integer, byref v as t1)
end template

dim Buffer.made as integer

constructor Buffer(byval size as integer)
  n = CAPACITY_OF(size)
  p = allocate(n * sizeof(t1))
  clear *p, 0, n * sizeof(t1)
  made += 1
end constructor

destructor Buffer()
  dim empty as t1
  for i as integer = 0 to n - 1
    p[i] = empty
  next
  deallocate(p)
end destructor

#macro CHECKED(i)
  if (i) < 0 orelse (i) >= n then
    print "out of range:"; i
    exit sub
  end if
#endmacro

sub Buffer.fill(byref v as t1)
  for i as integer = 0 to n - 1
    p[i] = v
  next
end sub

function Buffer.get(byval i as integer) as t1
  return p[i]
end function

sub Buffer.put(byval i as integer, byref v as t1)
  CHECKED(i)
  p[i] = v
end sub

template Path
  points as Buffer<<<Vec<<<t1>>>>>> ptr
  name as string
  declare constructor(byval count as integer)
  declare destructor()
  declare function total() as t1
end template

constructor Path(byval count as integer)
  points = new Buffer<<<Vec<<<t1>>>>>>(count)
end constructor

destructor Path()
  delete points
end destructor

function Path.total() as t1
  dim t as t1
  for i as integer = 0 to points->n - 1
    t += points->get(i).sum()
  next
  return t
end function

template Classifier
  tag as t1
  declare static function kind(byval v as t1) as string
end template

static function Classifier.kind(byval v as t1) as string
  select case v
  case is < 0
    return "negative"
  case 0
    return "zero"
  case 1 to 9
    return "small"
  case else
    return "large"
  end select
end function

dim a as Vec<<<integer>>> = Vec<<<integer>>>(1, 2)
dim b as Vec<<<integer>>> = Vec<<<integer>>>(10, 20)
dim c as Vec<<<integer>>> = a + b
print c; c.sum()
dim d as Vec<<<double>>> = Vec<<<double>>>(1.5, 2) * 2
print d

dim words as Buffer<<<string>>> = Buffer<<<string>>>(2)
words.fill("w")
words.put(1, "hello")
words.put(9, "nope")
print words.n; " "; words.get(0); words.get(1); words.get(3)

dim pa as Path<<<integer>>> = Path<<<integer>>>(2)
pa.points->put(0, Vec<<<integer>>>(1, 1))
pa.points->put(3, Vec<<<integer>>>(5, 5))
print pa.total(); Buffer<<<Vec<<<integer>>>>>>.made; Buffer<<<string>>>.made

for i as integer = -1 to 3 step 2
  print Classifier<<<integer>>>.kind(i * 4); " ";
next
print
print Classifier<<<double>>>.kind(0.5); " "; Classifier<<<double>>>.kind(-0.5)
