' Runs the simulation: the hunters are a kind of creature declared here, and
' the run's tally is a small family of this module's own types.
#include once "world.bi"

' A hunter walks down, burns more energy and eats twice what it finds.
type Hunter extends Creature
  kills as integer
  declare constructor(byref n as string, byval x_ as integer, byval y_ as integer)
  declare sub act(byref food as Grid<<<integer>>>) override
  declare function glyph() as string override
end type

constructor Hunter(byref n as string, byval x_ as integer, byval y_ as integer)
  base(n, x_, y_, 4)
end constructor

sub Hunter.act(byref food as Grid<<<integer>>>)
  y = (y + 1) mod food.h
  energy -= 2
  dim byref cell as integer = food.at(x, y)
  if cell > 0 then kills += 1
  energy += cell * 2
  cell = 0
end sub

function Hunter.glyph() as string
  return "H"
end function

type Tally
  births as integer
  deaths as integer
  declare sub note(byval born as integer, byval died as integer)
  declare function text() as string
end type

sub Tally.note(byval born as integer, byval died as integer)
  births += born
  deaths += died
end sub

function Tally.text() as string
  return "births " & births & ", deaths " & deaths
end function

type RunTally extends Tally
  ticks as integer
  foodLeft as integer
  declare function text() as string
end type

function RunTally.text() as string
  return "after " & ticks & " ticks: " & parent.text() & ", food " & foodLeft
end function

dim w as World
dim score as RunTally
dim log_ as List<<<string>>>

w.beings.add(makeGrazer("g1", 0, 0))
w.beings.add(makeGrazer("g2", 3, 2))
dim h as Creature ptr = new Hunter("h1", 5, 1)
w.beings.add(h)
w.beings.add(new Creature("stone", 7, 3, 2))
score.note(4, 0)
score.foodLeft = w.food.total()
print "start: "; score.text()
w.render()

for t as integer = 1 to 5
  print "tick"; t
  dim died as integer = w.stepAll()
  score.note(0, died)
  score.ticks = t
  score.foodLeft = w.food.total()
  for i as integer = 0 to w.beings.count - 1
    log_.add("t" & t & " " & w.beings.at(i)->status())
  next
  if t = 3 then
    w.beings.add(new Hunter("h2", 2, 3))
    score.note(1, 0)
    print "  h2 is born"
  end if
next
w.render()
print score.text()
print "log lines:"; log_.count
for i as integer = log_.count - 3 to log_.count - 1
  print "  "; log_.at(i)
next
print "tally parent: "; score.parent.text()
