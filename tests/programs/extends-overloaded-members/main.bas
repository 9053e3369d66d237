' Entities reached through pointers, with blocks and byref procedures; the
' parent's members are overloaded, one with a default argument, and a child
' overrides one of the overloads.
type Vec2
  x as single
  y as single
end type

type Entity
  pos as Vec2
  hp as integer = 20
  tags(0 to 3) as string
  static spawned as integer
  declare constructor()
  declare sub moveBy overload(byval dx as single, byval dy as single = 0)
  declare sub moveBy overload(byref d as Vec2)
  declare function hpRef() byref as integer
  declare const function summary() as string
  declare property tag(byval i as integer) as string
  declare property tag(byval i as integer, byref v as string)
  declare static function kind() as string
end type

dim Entity.spawned as integer

constructor Entity()
  spawned += 1
end constructor

sub Entity.moveBy(byval dx as single, byval dy as single)
  pos.x += dx
  pos.y += dy
end sub

sub Entity.moveBy(byref d as Vec2)
  moveBy(d.x, d.y)
end sub

function Entity.hpRef() byref as integer
  return hp
end function

const function Entity.summary() as string
  return kind() & "(" & pos.x & "," & pos.y & ") hp=" & hp & " " & tags(0) & tags(1)
end function

property Entity.tag(byval i as integer) as string
  return tags(i)
end property

property Entity.tag(byval i as integer, byref v as string)
  tags(i) = v
end property

static function Entity.kind() as string
  return "entity"
end function

type Bullet extends Entity
  speed as single = 2.5
  declare constructor(byval s as single)
  declare destructor()
  declare sub fly()
end type

constructor Bullet(byval s as single)
  speed = s
  tag(0) = "b"
end constructor

destructor Bullet()
  print "bullet gone at"; pos.x
end destructor

sub Bullet.fly()
  moveBy(speed)
end sub

type Turret extends Entity
  ammo as integer = 3
  declare sub moveBy overload(byval dx as single, byval dy as single = 0)
  declare function fire() as Bullet ptr
end type

function Turret.fire() as Bullet ptr
  if ammo = 0 then return 0
  ammo -= 1
  dim b as Bullet ptr = new Bullet(ammo + 1)
  b->moveBy(pos)
  return b
end function

' A turret moves on a coarse grid: twice the distance.
sub Turret.moveBy(byval dx as single, byval dy as single)
  parent.moveBy(dx * 2, dy * 2)
end sub

sub heal(byref e as Turret, byval n as integer)
  e.hp = e.hp + n
  e.hpRef() += 1
end sub

dim t as Turret
t.moveBy(4, 1)
dim v as Vec2 = type(2, 3)
t.moveBy(v)
t.tag(1) = "T"
heal(t, 4)
print t.summary()
dim shots(1 to 4) as Bullet ptr
for i as integer = 1 to 4
  shots(i) = t.fire()
next
print shots(4) = 0; t.ammo
for i as integer = 1 to 3
  with *shots(i)
    .fly()
    .fly()
    .tag(2) = "x" & i
    print .summary(); " "; .tag(2)
  end with
next
print Entity.spawned; Turret.kind()
for i as integer = 1 to 3
  delete shots(i)
next
print t.pos.x; t.parent.hp
