' Compound assignments to inherited fields whose target is continued over
' lines before its operator.
type Unit
  x as integer
  hp as integer
  scores(0 to 2) as integer
end type

type Hero extends Unit
  name as string
  declare sub heal()
end type

sub Hero.heal()
  hp _
    += 3
  this _
    .x *= 2
end sub

dim c as Hero
c _
  .x += 1
with c
  .hp _
    += 5
  .scores(1) _
    -= 4
end with
c.x _
  += 10
c _
  .hp _
  += 100 + _
  c.x
dim i as integer = 2
c.scores(i) _
  += c.hp
if c.x > 0 then _
  c.x += 1
print c.x; c.hp; c.scores(1); c.scores(2)
c.heal()
print c.x; c.hp
