' A parent with its own copy constructor: copies of the parent part, made by
' the compiler for an extending type or written as copies of its "parent",
' build each field once (a string with an initial value, a member that
' counts its instances) and free it once.
dim shared live as integer

type Probe
  id as integer
  declare constructor()
  declare constructor(byref other as Probe)
  declare destructor()
end type

constructor Probe()
  live += 1
end constructor

constructor Probe(byref other as Probe)
  live += 1
  id = other.id
end constructor

destructor Probe()
  live -= 1
end destructor

type Account
  owner as string = "nobody"
  tag as Probe
  cents as integer
  declare constructor()
  declare constructor(byref other as Account)
  declare function describe() as string
end type

constructor Account()
end constructor

constructor Account(byref other as Account)
  owner = other.owner
  cents = other.cents
end constructor

function Account.describe() as string
  return owner & ": " & cents
end function

type Savings extends Account
  rate as integer
end type

scope
  dim a as Savings
  a.owner = "ann"
  a.cents = 150
  a.rate = 3
  print "after one:"; live
  dim b as Savings = a
  print "after a copy:"; live
  b.cents = 20
  print a.describe(), b.describe(), b.rate
  for i as integer = 1 to 5
    dim c as Savings = b
    c.owner = "copy" & i
  next
  print "after five more:"; live
end scope
sub takeCopy(byval s as Savings)
  print "in takeCopy:"; live; " "; s.describe()
end sub

function makeOne() as Savings
  dim s as Savings
  s.owner = "made"
  return s
end function

scope
  dim x as Savings
  x.owner = "xx"
  takeCopy(x)
  print "after byval:"; live
  dim y as Savings = makeOne()
  print "after function:"; live; " "; y.describe()
  dim p as Account_generic_public_member = x.parent
  print "after copying the parent part:"; live; " "; p.describe()
end scope
print "at the end:"; live
