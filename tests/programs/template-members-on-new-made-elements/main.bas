#include "pool.bi"

type Mob
  hp as integer = 50
  age as integer
  declare sub hit(byval d as integer)
end type

sub Mob.hit(byval d as integer)
  hp -= d
end sub

type Orc extends Mob
  rage as integer
end type

template Squad
  members(0 to 2) as t1
  declare sub drill()
end template

sub Squad.drill()
  for i as integer = 0 to 2
    members(i).hp -= i
    members(i).age += 2
  next
end sub

dim p as Pool<<<Orc>>> = Pool<<<Orc>>>(3)
p.tick() : p.tick()
p.heal(1)
p.slots[2].hit(7)
p.slots[0].rage += 4
p.slots[0].hp *= 2
for i as integer = 0 to p.count - 1
  print p.slots[i].hp; p.slots[i].age; p.slots[i].rage
next
dim s as Squad<<<Orc>>>
s.drill()
s.members(1).hit(5)
print s.members(0).hp; s.members(1).hp; s.members(2).hp; s.members(2).age
