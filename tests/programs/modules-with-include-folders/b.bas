' b.bas: the support module, with a type extension of its own.
#include once "game/world.bi"

type Counter
  total as integer
  declare sub bump(byval by_ as integer = 1)
end type

sub Counter.bump(byval by_ as integer)
  total += by_
end sub

type StepCounter extends Counter
  label as string
end type

dim shared steps as StepCounter

function pathLength(byref path as List<<<Point>>>) as integer
  dim d as integer
  for i as integer = 1 to path.size() - 1
    d += abs(path.at(i).x - path.at(i - 1).x) + abs(path.at(i).y - path.at(i - 1).y)
    steps.bump()
  next
  return d
end function

function scoreBoard() as Pair<<<string, integer>>>
  dim r as Pair<<<string, integer>>>
  r.first = "scout"
  r.second = steps.total * 10
  return r
end function

sub logLine(byref s as string)
  steps.label = s
  print "log: "; steps.label; steps.total
end sub
