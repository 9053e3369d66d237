' A parent whose copy constructor and "let" are written under #if branches,
' as FreeBASIC's manual writes them to compare the cases: a type extending
' it, copied or assigned, copies its parent part through them, so each copy
' owns its own memory, and the copies print that they ran.
#define COUNTED_COPIES

type Tally
  #ifdef COUNTED_COPIES
  declare constructor(byref other as Tally)
  declare operator let(byref other as Tally)
  #else
  declare constructor(byref other as Tally)
  #endif
  declare constructor()
  declare destructor()
  declare sub add(byval n as integer)
  counts as integer ptr
end type

constructor Tally()
  counts = callocate(4, sizeof(integer))
end constructor

#ifdef COUNTED_COPIES
constructor Tally(byref other as Tally)
  print "  Tally copied"
  counts = callocate(4, sizeof(integer))
  for i as integer = 0 to 3
    counts[i] = other.counts[i]
  next
end constructor

operator Tally.let(byref other as Tally)
  print "  Tally assigned"
  if @other = @this then exit operator
  for i as integer = 0 to 3
    counts[i] = other.counts[i]
  next
end operator
#else
constructor Tally(byref other as Tally)
  counts = callocate(4, sizeof(integer))
end constructor
#endif

destructor Tally()
  deallocate(counts)
  counts = 0
end destructor

sub Tally.add(byval n as integer)
  counts[n mod 4] += 1
end sub

type Votes extends Tally
  topic as string
end type

sub show(byref v as Votes)
  print v.topic; ":";
  for i as integer = 0 to 3
    print v.counts[i];
  next
  print
end sub

scope
  dim a as Votes
  a.topic = "lunch"
  a.add(1) : a.add(1) : a.add(3)
  print "copy:"
  dim b as Votes = a
  b.add(2)
  print "assign:"
  dim c as Votes
  c = a
  c.add(0)
  a.add(3)
  show(a) : show(b) : show(c)
end scope
print "done"
