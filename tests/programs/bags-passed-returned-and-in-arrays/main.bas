' Scores kept in generic bags the procedural way: shared bags filled by subs,
' bags passed byref and byval and returned from functions, byref results
' assigned to, arrays of bags grown with redim preserve and erased, and the
' bag's size and layout checked with sizeof and offsetof. The bag's bound is a
' #define constant.
#define CAP 8

template Bag
  items(0 to CAP - 1) as t1
  count as integer
  declare sub add(byval v as t1)
  declare function at(byval i as integer) byref as t1
  declare function total() as t1
end template

sub Bag.add(byval v as t1)
  if count < CAP then
    items(count) = v
    count += 1
  end if
end sub

function Bag.at(byval i as integer) byref as t1
  return items(i)
end function

function Bag.total() as t1
  dim s as t1
  for i as integer = 0 to count - 1
    s += items(i)
  next
  return s
end function

dim shared scores as Bag<<<integer>>>
dim shared names as Bag<<<string>>>

sub fill(byref b as Bag<<<integer>>>, byval n as integer)
  for i as integer = 1 to n
    b.add(i * 10)
  next
end sub

function doubled(byval b as Bag<<<integer>>>) as Bag<<<integer>>>
  for i as integer = 0 to b.count - 1
    b.items(i) *= 2
  next
  return b
end function

function biggest(byref b as Bag<<<integer>>>) byref as integer
  dim k as integer = 0
  for i as integer = 1 to b.count - 1
    if b.items(i) > b.items(k) then k = i
  next
  return b.items(k)
end function

sub addName(byref s as string)
  names.add(s)
end sub

sub report()
  print "scores:"; scores.count; " total"; scores.total()
  for i as integer = 0 to names.count - 1
    print "  "; names.at(i)
  next
end sub

fill(scores, 4)
addName("ann")
addName("bob")
report()
dim d as Bag<<<integer>>> = doubled(scores)
print "doubled total"; d.total(); " original"; scores.total()
biggest(scores) => 99
print "after biggest ="; scores.at(3); scores.total()
scores.at(0) += 5
print "at(0)"; scores.at(0)
names.at(1) => "bea"
report()

' arrays of instances
dim shelf() as Bag<<<integer>>>
redim shelf(1)
shelf(0).add(1)
shelf(1).add(2) : shelf(1).add(3)
redim preserve shelf(3)
shelf(3).add(7)
for i as integer = 0 to ubound(shelf)
  print "shelf"; i; shelf(i).count; shelf(i).total()
next
erase shelf
print "after erase ubound"; ubound(shelf)
dim fixed(2) as Bag<<<string>>>
fixed(2).add("x") : fixed(2).add("y")
print fixed(2).total(); ubound(fixed); len(fixed(2).items(0))
print sizeof(Bag<<<integer>>>) = CAP * sizeof(integer) + sizeof(integer)
print offsetof(Bag<<<integer>>>, count) = CAP * sizeof(integer)
