' Templates used inside a namespace with the namespace's own types as
' arguments, and with others.
template List
  items(any) as t1
  count as integer
  declare sub add(byref v as t1)
end template

sub List.add(byref v as t1)
  redim preserve items(count)
  items(count) = v
  count += 1
end sub

template Pair
  first as t1
  second as t2
end template

namespace Game
  type Enemy
    name as string
    hp as integer
  end type

  type Army
    members as List<<<Enemy>>>
    declare sub recruit(byref n as string, byval hp as integer)
  end type

  sub Army.recruit(byref n as string, byval hp as integer)
    dim e as Enemy
    e.name = n : e.hp = hp
    members.add(e)
  end sub

  dim shared scores as List<<<Pair<<<Enemy, integer>>>>>>
  dim shared counts as List<<<integer>>>

  sub score(byref e as Enemy, byval points as integer)
    dim p as Pair<<<Enemy, integer>>>
    p.first = e
    p.second = points
    scores.add(p)
  end sub
end namespace

dim a as Game.Army
a.recruit("orc", 30)
a.recruit("troll", 80)
print a.members.count, a.members.items(1).name

Game.score(a.members.items(0), 5)
print Game.scores.count; " "; Game.scores.items(0).first.name; Game.scores.items(0).second

' Outside the namespace its types are named with it, as any other name there.
dim q as Pair<<<Game.Enemy, integer>>>
q.first = a.members.items(1)
q.second = 9
print q.first.name; q.second

dim c as List<<<integer>>>
c.add(4)
Game.counts.add(7)
print c.items(0); Game.counts.items(0)
