' A small arena: entities with a common parent, whose children build it with
' parent.constructor(...), override one of its members and extend one
' another; they live in generic lists, are walked in loops and passed byref.

template List
  items(any) as t1
  count as integer
  declare sub add(byref v as t1)
  declare function at(byval i as integer) byref as t1
end template

sub List.add(byref v as t1)
  redim preserve items(count)
  items(count) = v
  count += 1
end sub

function List.at(byval i as integer) byref as t1
  return items(i)
end function

type Entity
  name as string
  x as integer
  y as integer
  hp as integer = 100
  declare constructor(byref n as string = "thing", byval px as integer = 0, byval py as integer = 0)
  declare property health() as integer
  declare property health(byval v as integer)
  declare sub moveBy(byval dx as integer, byval dy as integer)
  declare sub takeHit(byval dmg as integer)
  declare function isAlive() as boolean
  declare function describe() as string
end type

constructor Entity(byref n as string, byval px as integer, byval py as integer)
  name = n
  x = px
  y = py
end constructor

property Entity.health() as integer
  return hp
end property

property Entity.health(byval v as integer)
  if v < 0 then v = 0
  hp = v
end property

sub Entity.moveBy(byval dx as integer, byval dy as integer)
  x += dx
  y += dy
end sub

sub Entity.takeHit(byval dmg as integer)
  health = hp - dmg
  if not isAlive() then name &= " (down)"
end sub

function Entity.isAlive() as boolean
  return hp > 0
end function

function Entity.describe() as string
  return name & " at " & x & "," & y & " hp " & hp
end function

type Enemy extends Entity
  power as integer
  declare constructor()
  declare constructor(byref n as string, byval p as integer = 5)
  declare function attack() as integer
end type

constructor Enemy()
  this.constructor("grunt")
end constructor

constructor Enemy(byref n as string, byval p as integer)
  parent.constructor(n, 10, 0)
  power = p
end constructor

function Enemy.attack() as integer
  moveBy(1, 0)
  return power
end function

type Hero extends Entity
  level as integer = 1
  declare constructor()
  declare constructor(byref n as string)
  declare sub levelUp()
  declare function describe() as string
end type

constructor Hero()
  parent.constructor("hero")
end constructor

constructor Hero(byref n as string)
  parent.constructor(n, 0, 0)
end constructor

sub Hero.levelUp()
  level += 1
  health = health + 20
end sub

function Hero.describe() as string
  return parent.describe() & " lv " & level
end function

type Boss extends Enemy
  phase as integer = 1
  declare constructor()
  declare sub enrage()
end type

constructor Boss()
  parent.constructor("boss", 30)
  health = 250
end constructor

sub Boss.enrage()
  phase += 1
  power = power * 2
end sub

sub pushAll(byref l as List<<<Enemy>>>, byval dx as integer)
  for i as integer = 0 to l.count - 1
    l.at(i).moveBy(dx, 1)
  next
end sub

sub report(byref l as List<<<Enemy>>>)
  for i as integer = 0 to l.count - 1
    print "  "; l.at(i).describe(); " power"; l.at(i).power
  next
end sub

dim ada as Hero = Hero("ada")
dim foes as List<<<Enemy>>>
foes.add(Enemy())
foes.add(Enemy("orc", 12))
dim b as Boss
print b.describe(); b.phase
b.enrage()
pushAll(foes, -3)
report(foes)
for i as integer = 0 to foes.count - 1
  ada.takeHit(foes.at(i).attack())
next
print ada.describe()
ada.levelUp()
print ada.describe(); ada.health
ada.takeHit(b.attack())
ada.takeHit(b.attack())
print ada.describe(); ada.isAlive()
ada.takeHit(1000)
print ada.describe(); ada.isAlive()
dim heroes as List<<<Hero>>>
heroes.add(ada)
heroes.add(Hero("bob"))
heroes.at(1).levelUp()
for i as integer = 0 to heroes.count - 1
  print heroes.at(i).describe()
next
