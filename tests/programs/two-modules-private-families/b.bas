' b.bas: the tools module, with entities of its own under the same names,
' as private to it as the main module's are to that one.
type Entity
  x as integer
  y as integer
  declare sub move(byval dx as integer, byval dy as integer = 0)
end type

private sub Entity.move(byval dx as integer, byval dy as integer)
  x += dx
  y += dy
end sub

type Player extends Entity
  declare sub report()
end type

private sub Player.report()
  print "tool player at"; x; y
end sub

sub runTools()
  dim p as Player
  p.move(1, 4)
  p.move(10)
  p.report()
end sub
