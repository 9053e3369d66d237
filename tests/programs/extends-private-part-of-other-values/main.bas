' A parent whose members read the private part of other values of its own
' type (a copy constructor, let, compare and sum members, a pointer, a local
' copy, its own address, a with block), extended by a child. Another type
' with a public field of the same name is read as it is.

type Account
  cents as integer
end type

type Money
  declare constructor(byval c as integer = 0)
  declare constructor(byref other as Money)
  declare operator let(byref other as Money)
  declare function equals(byref other as const Money) as boolean
  declare function total(items() as Money) as integer
  declare function viaPointer(byval p as Money ptr) as integer
  declare function doubled() as integer
  declare function fromAccount(byref acct as Account) as integer
  declare function show() as string
  declare function viaSelf() as integer
  declare function sameWith(byref other as Money) as boolean
private:
  cents as integer
  declare function secret() as integer
end type

constructor Money(byval c as integer = 0)
  cents = c
end constructor

constructor Money(byref other as Money)
  cents = other.cents
end constructor

operator Money.let(byref other as Money)
  cents = other.cents
end operator

function Money.equals(byref other as const Money) as boolean
  return cents = other.cents
end function

function Money.total(items() as Money) as integer
  dim sum as integer
  for i as integer = lbound(items) to ubound(items)
    sum += items(i).cents + items( i ).secret()
  next
  return sum
end function

function Money.viaPointer(byval p as Money ptr) as integer
  return p->cents
end function

function Money.doubled() as integer
  dim as Money a, b
  a = this
  dim copy as Money = Money(cents)
  b.cents = copy.Cents * 2
  return a.cents + b.secret() - cents
end function

function Money.fromAccount(byref acct as Account) as integer
  return acct.cents + cents
end function

function Money.secret() as integer
  return cents
end function

function Money.show() as string
  return "$" & cents \ 100 & "." & right("0" & cents mod 100, 2) ' other.cents in a comment
end function

function Money.viaSelf() as integer
  return (@this)->cents + ( @ this )->secret()
end function

function Money.sameWith(byref other as Money) as boolean
  with other
    return .cents = cents andalso .secret() = secret()
  end with
end function

type Wallet extends Money
  owner as string
end type

dim w as Wallet
w.owner = "Ann"
dim price as Money = Money(250)
w.parent = price
print w.owner; " holds "; w.show()
print "equal:"; w.equals(price); w.equals(Money(3))
dim coins(2) as Money = {Money(1), Money(2), Money(3)}
print "total:"; w.total(coins())
print "through a pointer:"; w.viaPointer(@price)
print "doubled:"; w.doubled()
dim acct as Account
acct.cents = 40
print "with an account:"; w.fromAccount(acct)
dim copied as Money = price
print "copied:"; copied.equals(price)
print "through its own address:"; w.viaSelf()
print "with:"; w.sameWith(price); w.sameWith(Money(1))
