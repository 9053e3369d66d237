' Compound assignments to inherited fields whose value goes on over lines.
type Actor
  hp as integer
  name as string
end type
type Hero extends Actor
  lvl as integer
  declare sub f()
end type
sub Hero.f()
  hp += _ ' why
    3
  name &= "a" & _
    "b" : hp *= 2
end sub
function g(byval a as integer, byval b as integer) as integer
  return a * 10 + b
end function
dim h as Hero
h.f()
print h.hp, h.name
h.hp -= g(1, _
  2) + _
  1 : print h.hp
dim a as integer = 1
if a then h.hp += 1 + _
  1 else h.hp -= 100
print h.hp
h.name &= _
  "c"
h.hp \= _
  2
print h.name, h.hp
h.hp += 1 rem no continuation here: _
h.hp += 10
print h.hp
