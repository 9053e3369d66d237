' The world's own rules, and the grazers, a kind of creature that only this
' module knows by its type.
#include once "world.bi"

constructor Creature()
  name = "?"
end constructor

constructor Creature(byref n as string, byval x_ as integer, byval y_ as integer, byval e as integer)
  name = n
  x = x_
  y = y_
  energy = e
end constructor

destructor Creature()
  print "  "; name; " is gone"
end destructor

sub Creature.act(byref food as Grid<<<integer>>>)
  energy -= 1
end sub

function Creature.glyph() as string
  return "c"
end function

function Creature.status() as string
  return name & "(" & glyph() & ")@" & x & "," & y & " e=" & energy
end function

' A grazer walks right and eats what lies on its new cell.
type Grazer extends Creature
  declare constructor(byref n as string, byval x_ as integer, byval y_ as integer)
  declare sub act(byref food as Grid<<<integer>>>) override
  declare function glyph() as string override
end type

constructor Grazer(byref n as string, byval x_ as integer, byval y_ as integer)
  base(n, x_, y_, 3)
end constructor

sub Grazer.act(byref food as Grid<<<integer>>>)
  x = (x + 1) mod food.w
  energy -= 1
  dim byref cell as integer = food.at(x, y)
  energy += cell
  cell = 0
end sub

function Grazer.glyph() as string
  return "g"
end function

function makeGrazer(byref n as string, byval x as integer, byval y as integer) as Creature ptr
  return new Grazer(n, x, y)
end function

constructor World()
  food.init(WORLD_W, WORLD_H, 0)
  for y as integer = 0 to WORLD_H - 1
    for x as integer = 0 to WORLD_W - 1
      food.at(x, y) = (x * 3 + y * 5) mod 4
    next
  next
end constructor

destructor World()
  for i as integer = 0 to beings.count - 1
    delete beings.at(i)
  next
end destructor

' Lets every creature act once and removes the starved; returns how many died.
function World.stepAll() as integer
  tick += 1
  for i as integer = 0 to beings.count - 1
    beings.at(i)->act(food)
  next
  dim gone as integer = 0
  dim i as integer = 0
  while i < beings.count
    if beings.at(i)->energy <= 0 then
      delete beings.at(i)
      beings.removeAt(i)
      gone += 1
    else
      i += 1
    end if
  wend
  died += gone
  return gone
end function

sub World.render()
  for y as integer = 0 to food.h - 1
    dim row as string = space(food.w)
    for x as integer = 0 to food.w - 1
      row[x] = asc(str(food.at(x, y)))
    next
    for i as integer = 0 to beings.count - 1
      if beings.at(i)->y = y then mid(row, beings.at(i)->x + 1, 1) = beings.at(i)->glyph()
    next
    print "  |"; row; "|"
  next
end sub
