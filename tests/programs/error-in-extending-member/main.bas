' An extending type's own member misspells a field it inherits. The
' message must name the member's line, not a forwarder generated for the
' parent's field above it.
type Account
  owner as string
  balance as double
  declare sub deposit(byval amount as double)
end type

sub Account.deposit(byval amount as double)
  balance += amount
end sub

type Savings extends Account
  rate as double
  declare sub addInterest()
end type

sub Savings.addInterest()
  deposit(balnce * rate)
end sub

dim s as Savings
s.owner = "Ada"
s.deposit(100)
s.rate = 0.5
s.addInterest()
print s.owner; s.balance
