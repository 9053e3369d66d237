' a.bas: the main module. Its units walk paths kept in lists. The shared
' header sits in a subfolder and finds its templates through the include
' folder given with -i and through a path relative to itself.
#include once "game/world.bi"

type Entity
  name as string
  hp as integer = 10
  declare sub hurt(byval n as integer)
  declare function alive() as boolean
end type

sub Entity.hurt(byval n as integer)
  hp -= n
  if hp < 0 then hp = 0
end sub

function Entity.alive() as boolean
  return hp > 0
end function

type Walker extends Entity
  route as List<<<Point>>>
end type

dim w as Walker
w.name = "scout"
dim p as Point
for i as integer = 1 to 4
  p.x = i * 2 : p.y = i
  w.route.add(p)
next
w.hurt(3)
print w.name; w.hp; w.alive(); pathLength(w.route)
dim names as List<<<string>>>
names.add("a") : names.add("bb")
print names.size(); names.at(1)
dim best as Pair<<<string, integer>>> = scoreBoard()
print best.show()
logLine("done")
