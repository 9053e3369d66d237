' a.bas: the game's main module. Its entities are its own business: their
' procedures are private, so that the tools module may have types of the
' same names.
type Entity
  x as integer
  declare sub move(byval dx as integer)
end type

private sub Entity.move(byval dx as integer)
  x += dx
end sub

type Player extends Entity
  name as string
  declare sub report()
end type

private sub Player.report()
  print "player "; name; " at"; x
end sub

declare sub runTools()

dim p as Player
p.name = "ann"
p.move(2)
p.move(3)
p.report()
runTools()
