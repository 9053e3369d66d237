' Compound assignments to inherited fields of array elements and pointers.
type Actor
  hp as integer
  name as string
  score as long
end type

type Enemy extends Actor
  speed as integer
  declare sub hurt(byval dmg as integer)
end type
sub Enemy.hurt(byval dmg as integer)
  this.hp -= dmg
end sub

type Squad
  members(1 to 3) as Enemy
  lead as Enemy ptr
end type

dim shared picks as integer
function pick() as integer
  picks += 1
  return 2
end function

dim enemies(1 to 3) as Enemy
dim order(3) as integer = {0, 3, 1, 2}
dim as integer i = 1, j
for i = 1 to 3
  enemies(i).hp = 100 * i : enemies(i).name = "e" & i
next
i = 1
enemies(i).hp -= 10
enemies(i + 1).hp \= 4 : enemies(order(1)).name &= "!"
if i = 1 then enemies(2 * i).score += 7 else enemies(3).score -= 1
with enemies(3)
  .hp += 1
end with
print enemies(1).hp, enemies(2).hp, enemies(3).hp, enemies(3).name, enemies(2).score

dim e as Enemy ptr = @enemies(2)
e->hp -= 5 : e->name &= "?"
e->hurt(20)
print e->hp, e->name, e->score

dim ptrs(2) as Enemy ptr
ptrs(1) = @enemies(1)
ptrs(i)->score += 40 ' an element holding a pointer
print enemies(1).score

dim s as Squad
s.members(2).hp = 50
s.members(2).hp += 5 : s.lead = @s.members(1)
s.lead->hp -= 1
print s.members(2).hp, s.members(1).hp

' The index calls a function: left to the compiler, which evaluates it once.
enemies(pick()).parent.hp += 1
print enemies(2).hp, picks

' A comment may end on the line before code, and rem may follow a statement.
/' enemies(1).hp += 1000
'/ enemies(1).hp += 2 rem enemies(1).hp += 1000
enemies(1).name &= "x" rem : enemies(1).name &= "no"
print enemies(1).hp, enemies(1).name

' Elements of array fields, in members, macros, with blocks and one-line subs.
type Item
  qty as integer
  label as string
end type
type Potion extends Item
  power as integer
end type
type Bag
  slots(1 to 4) as Potion
  count as integer
  declare sub add(byval k as integer, byval n as integer)
  declare function last() as Potion ptr
end type
sub Bag.add(byval k as integer, byval n as integer)
  select case n
  case is > 10 : slots(k).qty += 10 : slots(k).label &= "+"
  case else : this.slots(k).qty += n
  end select
  count += 1
end sub
function Bag.last() as Potion ptr
  return @slots(count)
end function
#macro REFILL(b, k)
  b.slots(k).qty *= 2
#endmacro
sub fill(p() as Potion, byval n as integer) : p(n).qty -= 1 : end sub
dim b as Bag
b.add(1, 3) : b.add(1, 20) : b.add(2, 5)
REFILL(b, 1)
print b.slots(1).qty, b.slots(1).label, b.slots(2).qty, b.count
with b
  .slots(.count - 1).qty += 100
  .slots(2).label &= "-> += :"
end with
print b.slots(2).qty, b.slots(2).label
fill(b.slots(), 2)
dim q as Potion ptr = b.last()
q->qty \= 2 : q->label &= "q"
print b.slots(3).qty, b.slots(3).label, b.slots(2).qty
