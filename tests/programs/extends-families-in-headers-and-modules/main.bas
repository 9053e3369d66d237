' Shapes declared in two headers, a parent in one and its child in the
' other, which both modules include: FreeBASIC's own inheritance, here
' extended once more. Beside them, a family of this file whose parent keeps
' a private part, and a taxi that reaches the vehicle's members through both
' of its parents; and accounts whose parent has a protected section, which
' makes that family FreeBASIC's own.
#include once "circle.bi"
#include once "shape.bi"

type Ring extends Circle
  inner as integer
end type

type Vehicle
  wheels as integer
  declare sub drive(byval km as integer)
  declare function odometer() as integer
  declare property plate() as string
  declare property plate(byref p as string)
private:
  km as integer
  plate_ as string
  declare sub log_(byref what as string)
end type

sub Vehicle.log_(byref what as string)
  print "  log: "; what
end sub

sub Vehicle.drive(byval n as integer)
  km += n
  log_("drove " & n)
end sub

function Vehicle.odometer() as integer
  return km
end function

property Vehicle.plate() as string
  return plate_
end property

property Vehicle.plate(byref p as string)
  plate_ = ucase(p)
end property

type Car extends Vehicle
  seats as integer
  declare constructor()
  declare sub drive(byval km as integer)
end type

constructor Car()
  wheels = 4
  seats = 5
end constructor

sub Car.drive(byval n as integer)
  print "car drives"
  parent.drive(n)
end sub

type Taxi extends Car
  fares as integer
  declare sub ride(byval n as integer)
end type

sub Taxi.ride(byval n as integer)
  fares += 1
  drive(n)
  parent.parent.drive(1)
end sub

type Account
  owner as string
  declare constructor(byref who as string = "nobody")
  declare sub deposit(byval cents as integer)
  declare function balance() as integer
protected:
  cents_ as integer
  declare sub audit(byref what as string)
private:
  secret as integer
end type

constructor Account(byref who as string)
  owner = who
  secret = 7
end constructor

sub Account.deposit(byval cents as integer)
  cents_ += cents
  audit("deposit " & cents)
end sub

function Account.balance() as integer
  return cents_
end function

sub Account.audit(byref what as string)
  print "  audit "; owner; ": "; what
end sub

type Savings extends Account
  rate as integer
  declare constructor(byref who as string = "", byval rate as integer = 0)
  declare sub addInterest()
end type

constructor Savings(byref who as string, byval rate as integer)
  base(who)
  this.rate = rate
end constructor

sub Savings.addInterest()
  dim gain as integer = cents_ * rate \ 100
  cents_ += gain
  audit("interest " & gain)
end sub

type Bonus extends Savings
  declare constructor(byref who as string)
  declare sub addInterest()
end type

constructor Bonus(byref who as string)
  base(who, 10)
end constructor

sub Bonus.addInterest()
  base.addInterest()
  deposit(1)
end sub

dim c as Circle = unitCircle()
c.move(3)
print c.describe(); c.area()
dim r as Ring
r.name = "ring"
r.r = 2
r.inner = 1
r.move(5)
print r.describe(); r.area(); r.inner

dim t as Taxi
t.plate = "ab 123"
t.ride(10)
t.ride(5)
print t.plate; t.wheels; t.seats; t.fares; t.odometer()
print t.parent.parent.odometer(); t.parent.odometer(); t.parent.parent.wheels
t.parent.parent.wheels = 3
print t.wheels

dim b as Bonus = Bonus("ann")
b.deposit(1000)
b.addInterest()
print b.owner; b.balance(); b.rate
dim a as Account ptr = @b
print a->balance()
