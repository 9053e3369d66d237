' A small shop: generic containers hold a family of item types, prices are a
' generic money type with operators written once for the template, and the
' reports are built with ordinary string formatting.
#include once "string.bi"

template List
  items(any) as t1
  count as integer
  declare sub add(byref v as t1)
  declare function at(byval i as integer) byref as t1
  declare sub removeAt(byval i as integer)
end template

sub List.add(byref v as t1)
  if count > ubound(items) then
    redim preserve items(count * 2 + 1)
  end if
  items(count) = v
  count += 1
end sub

function List.at(byval i as integer) byref as t1
  return items(i)
end function

sub List.removeAt(byval i as integer)
  for j as integer = i to count - 2
    items(j) = items(j + 1)
  next
  count -= 1
end sub

template Pair
  first as t1
  second as t2
end template

' Chained hash map with string keys; the bucket array doubles when the
' entries outnumber twice the buckets.
template Map
  buckets(any) as List<<<Pair<<<t1, t2>>>>>>
  count as integer
  declare sub put(byref k as t1, byref v as t2)
  declare function has(byref k as t1) as boolean
  declare function get_(byref k as t1) byref as t2
  declare function slot(byref k as t1, byval n as integer) as integer
  declare sub grow()
  declare function bucketCount() as integer
end template

function Map.slot(byref k as t1, byval n as integer) as integer
  dim h as ulong = 5381
  for i as integer = 0 to len(k) - 1
    h = (h * 33) xor k[i]
  next
  return h mod n
end function

function Map.bucketCount() as integer
  return ubound(buckets) + 1
end function

sub Map.grow()
  dim n as integer = iif(bucketCount() = 0, 2, bucketCount() * 2)
  dim old(any) as List<<<Pair<<<t1, t2>>>>>>
  if bucketCount() > 0 then
    redim old(ubound(buckets))
    for b as integer = 0 to ubound(buckets)
      old(b) = buckets(b)
    next
  end if
  redim buckets(n - 1)
  for b as integer = 0 to ubound(old)
    for i as integer = 0 to old(b).count - 1
      dim e as Pair<<<t1, t2>>> = old(b).at(i)
      buckets(slot(e.first, n)).add(e)
    next
  next
end sub

sub Map.put(byref k as t1, byref v as t2)
  if bucketCount() = 0 orelse count >= bucketCount() * 2 then grow()
  dim byref b as List<<<Pair<<<t1, t2>>>>>> = buckets(slot(k, bucketCount()))
  for i as integer = 0 to b.count - 1
    if b.at(i).first = k then
      b.at(i).second = v
      exit sub
    end if
  next
  dim e as Pair<<<t1, t2>>>
  e.first = k
  e.second = v
  b.add(e)
  count += 1
end sub

function Map.has(byref k as t1) as boolean
  if bucketCount() = 0 then return false
  dim byref b as List<<<Pair<<<t1, t2>>>>>> = buckets(slot(k, bucketCount()))
  for i as integer = 0 to b.count - 1
    if b.at(i).first = k then return true
  next
  return false
end function

function Map.get_(byref k as t1) byref as t2
  if has(k) = false then
    dim blank as t2
    put(k, blank)
  end if
  dim byref b as List<<<Pair<<<t1, t2>>>>>> = buckets(slot(k, bucketCount()))
  for i as integer = 0 to b.count - 1
    if b.at(i).first = k then return b.at(i).second
  next
  return b.at(0).second
end function

template Money
  cents as t1
  declare function text() as string
end template

function Money.text() as string
  dim c as t1 = abs(cents)
  return iif(cents < 0, "-", "") & "$" & (c \ 100) & "." & right("0" & (c mod 100), 2)
end function

operator + (byref a as Money, byref b as Money) as Money
  return type<Money>(a.cents + b.cents)
end operator

operator - (byref a as Money, byref b as Money) as Money
  return type<Money>(a.cents - b.cents)
end operator

operator * (byref a as Money, byval n as integer) as Money
  return type<Money>(a.cents * n)
end operator

operator < (byref a as Money, byref b as Money) as integer
  return a.cents < b.cents
end operator

type Cash as Money<<<longint>>>

type Item
  name as string
  price as Money<<<longint>>>
  weight as double
  declare function label() as string
  declare function describe() as string
end type

function Item.label() as string
  return left(name & space(16), 16) & right(space(9) & price.text(), 9) & _
    "  " & format(weight, "0.0") & "kg"
end function

function Item.describe() as string
  return "item " & name
end function

type Weapon extends Item
  damage as integer
  declare function describe() as string
end type

function Weapon.describe() as string
  return "weapon " & name & " (" & damage & " dmg)"
end function

type Potion extends Item
  heals as integer
  declare function describe() as string
end type

function Potion.describe() as string
  return "potion " & name & " (+" & heals & " hp)"
end function

type Elixir extends Potion
  seconds as integer
  declare function describe() as string
end type

function Elixir.describe() as string
  return "elixir " & name & " (+" & heals & " hp for " & seconds & "s)"
end function

function makeWeapon(byref n as string, byval cents as longint, byval w as double, byval d as integer) as Weapon
  dim x as Weapon
  x.name = n
  x.price.cents = cents
  x.weight = w
  x.damage = d
  return x
end function

function makePotion(byref n as string, byval cents as longint, byval h as integer) as Potion
  dim x as Potion
  x.name = n
  x.price = type<Cash>(cents)
  x.weight = 0.5
  x.heals = h
  return x
end function

type Shop
  weapons as List<<<Weapon>>>
  potions as List<<<Potion>>>
  elixirs as List<<<Elixir>>>
  stock as Map<<<string, integer>>>
  till as Cash
  declare function sell(byref what as string) as boolean
  declare function stockValue() as Cash
end type

function Shop.stockValue() as Cash
  dim total as Cash
  for i as integer = 0 to weapons.count - 1
    total = total + weapons.at(i).price * stock.get_(weapons.at(i).name)
  next
  for i as integer = 0 to potions.count - 1
    total = total + potions.at(i).price * stock.get_(potions.at(i).name)
  next
  for i as integer = 0 to elixirs.count - 1
    total = total + elixirs.at(i).price * stock.get_(elixirs.at(i).name)
  next
  return total
end function

function Shop.sell(byref what as string) as boolean
  if stock.has(what) = false orelse stock.get_(what) = 0 then return false
  stock.get_(what) -= 1
  for i as integer = 0 to weapons.count - 1
    if weapons.at(i).name = what then till = till + weapons.at(i).price
  next
  for i as integer = 0 to potions.count - 1
    if potions.at(i).name = what then till = till + potions.at(i).price
  next
  for i as integer = 0 to elixirs.count - 1
    if elixirs.at(i).name = what then till = till + elixirs.at(i).price
  next
  return true
end function

dim store as Shop
store.weapons.add(makeWeapon("Short sword", 1250, 2.5, 7))
store.weapons.add(makeWeapon("Battle axe", 3475, 6, 12))
store.weapons.add(makeWeapon("Dagger", 499, 0.75, 4))
store.potions.add(makePotion("Red potion", 150, 20))
store.potions.add(makePotion("Big red potion", 325, 50))

dim e as Elixir
e.name = "Sun elixir"
e.price.cents = 2000
e.weight = 0.25
e.heals = 5
e.seconds = 30
store.elixirs.add(e)

store.stock.put("Short sword", 2)
store.stock.put("Battle axe", 1)
store.stock.put("Dagger", 6)
store.stock.put("Red potion", 10)
store.stock.put("Big red potion", 3)
store.stock.put("Sun elixir", 1)

print "== catalogue =="
for i as integer = 0 to store.weapons.count - 1
  print store.weapons.at(i).label(); " x"; store.stock.get_(store.weapons.at(i).name)
next
for i as integer = 0 to store.potions.count - 1
  print store.potions.at(i).label(); " x"; store.stock.get_(store.potions.at(i).name)
next
print store.elixirs.at(0).label(); " x"; store.stock.get_("Sun elixir")
print "stock value: "; store.stockValue().text()

print "== sales =="
dim orders(...) as string = {"Dagger", "Sun elixir", "Sun elixir", "Red potion", "Mace", "Dagger"}
for i as integer = 0 to ubound(orders)
  print left(orders(i) & space(12), 12); iif(store.sell(orders(i)), "sold", "refused")
next
print "till: "; store.till.text(); "  stock value: "; store.stockValue().text()
print "dagger left:"; store.stock.get_("Dagger"); "  map entries:"; store.stock.count; _
  "  buckets:"; store.stock.bucketCount()

print "== descriptions =="
print store.weapons.at(1).describe()
print store.potions.at(1).describe()
print store.elixirs.at(0).describe()
print store.elixirs.at(0).parent.describe()
print store.elixirs.at(0).parent.parent.describe()

' the cheapest weapon goes out of the catalogue
dim cheapest as integer = 0
for i as integer = 1 to store.weapons.count - 1
  if store.weapons.at(i).price < store.weapons.at(cheapest).price then cheapest = i
next
print "dropping "; store.weapons.at(cheapest).name
store.weapons.removeAt(cheapest)
for i as integer = 0 to store.weapons.count - 1
  print i; ": "; store.weapons.at(i).label()
next

' a map of pairs: best damage per gold
dim ratios as Map<<<string, Pair<<<integer, Cash>>>>>>
for i as integer = 0 to store.weapons.count - 1
  dim byref w as Weapon = store.weapons.at(i)
  dim p as Pair<<<integer, Cash>>>
  p.first = w.damage
  p.second = w.price
  ratios.put(w.name, p)
next
dim byref best as Pair<<<integer, Cash>>> = ratios.get_("Battle axe")
print "axe:"; best.first; " for "; best.second.text(); _
  "  per dollar: "; format(best.first / (best.second.cents / 100), "0.000")
dim debt as Cash = store.till - type<Cash>(10000)
print "after rent: "; debt.text()
