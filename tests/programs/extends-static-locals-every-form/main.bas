' Static variables of every form in a parent's members count once for the
' parent's values and for those of the types that extend it.

#define COUNTING

type Tally
  total as integer
  declare constructor(byval start as integer = 0)
  declare destructor()
end type

constructor Tally(byval start as integer)
  total = start
  print "tally built at"; start
end constructor

destructor Tally()
  print "tally gone at"; total
end destructor

type Shape
  id as integer
  declare sub mark(byval slot as integer)
  declare sub pair()
  declare sub twoWays()
  declare sub counted()
  declare sub started()
  declare sub code()
  declare sub computed()
  declare sub visit()
  declare function visits() as integer
  declare sub primes()
  declare sub grow()
  declare sub tick()
  declare sub opened()
  declare sub closed()
  declare sub late(byval k as integer)
  declare function walk() as integer
end type

sub Shape.mark(byval slot as integer)
  static seen(3) as integer ' one array
  SEEN(slot) += 1
  print "seen"; seen(0); seen(1); seen(2); seen(3); ubound(seen)
end sub

sub Shape.pair()
  static a as integer, b as double = 0.5
  a += 1 : b *= 2
  print "pair"; a; b
end sub

sub Shape.twoWays()
  STATIC AS LONG first, second = -10
  first += 1 : second -= 1
  print "two ways"; first; second
end sub

sub Shape.counted()
  print "before the tally"
  static t as Tally
  t.total += 1
  print "tally"; t.total
end sub

sub Shape.started()
  static t as Tally = Tally(100)
  t.total += 10
  print "started"; t.total
end sub

sub Shape.code()
  static letters as string * 6
  static z as zstring * 8 = "z"
  static calls as integer
  calls += 1
  mid(letters, calls, 1) = "x"
  z = z & "+"
  print "code "; left(letters, calls); " "; z
end sub

sub Shape.computed()
  static n as integer = (2 + 3) * 4 shl 1
  n += 1
  print "computed"; n
end sub

sub Shape.visit() static
  dim calls as integer
  dim as integer steps = 3, rounds
  dim names(1) as string
  calls += 1 : steps += 2 : rounds += calls
  names(calls mod 2) &= "v"
  print "visit"; calls; steps; rounds; " "; names(0); " "; names(1)
end sub

function Shape.visits() as integer static
  dim count as integer = 40
  count += 1
  return count
end function

sub Shape.primes()
  static p(2) as integer = {2, 3, 5}
  p(0) *= 2
  print "primes"; p(0); p(1); p(2)
end sub

sub Shape.grow()
  static items() as string ' sized by redim
  redim preserve items(ubound(items) + 1)
  items(ubound(items)) = "i" & ubound(items)
  print "grow"; ubound(items); " "; items(0); " "; items(ubound(items))
end sub

' Under #if lines of its own, right after the implementation before it.
sub Shape.opened()
  print "opened"
#ifdef COUNTING
end sub
sub Shape.closed()
  static closings as integer
  closings += 1
  print "closed"; closings
#endif
end sub

#ifdef COUNTING
sub Shape.tick()
  static ticks as integer
  ticks += 1
  print "tick"; ticks
end sub
#endif

' Written after other code.
dim shared spacer as integer

sub Shape.late(byval k as integer)
  static hits(2) as integer, t as Tally = Tally(5) ' an array and a type
  static as Tally u = Tally(7), v
  hits(k) += 1 : t.total += 1 : u.total += 2 : v.total += 3
  print "late"; hits(0); hits(1); hits(2); t.total; u.total; v.total
end sub

function Shape.walk() as integer static
  dim steps as integer = 10
  dim trail as string * 8
  for i as integer = 1 to 2
    steps += i
  next
  mid(trail, (steps mod 8) + 1, 1) = "*"
  print "trail"; instr(trail, "*"); instrrev(trail, "*")
  return steps
end function

type Circle extends Shape
  r as integer
end type

type Ring extends Circle
  inner as integer
end type

scope
  dim s as Shape
  dim c as Circle
  dim r as Ring
  s.mark(0) : c.mark(1) : r.mark(1) : s.mark(3)
  s.pair() : c.pair() : r.pair()
  c.twoWays() : s.twoWays() : r.twoWays()
  print "no tally yet"
  c.counted() : s.counted() : r.counted()
  r.started() : s.started()
  s.code() : c.code() : r.code()
  c.computed() : s.computed()
  s.visit() : c.visit() : r.visit() : s.visit()
  print s.visits(); c.visits(); r.visits()
  c.primes() : s.primes()
  s.grow() : c.grow() : r.grow()
  s.tick() : c.tick() : r.tick()
  r.closed() : s.closed() : c.closed()
  s.late(0) : c.late(1) : r.late(2)
  dim as integer w1 = s.walk(), w2 = c.walk(), w3 = r.walk()
  print "walked"; w1; w2; w3
end scope
print "end"
