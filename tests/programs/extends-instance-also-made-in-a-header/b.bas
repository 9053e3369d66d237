' The score module: its board extends the list of integers that the header
' has made already.
#include once "list.bi"

type Board extends List<<<integer>>>
  rounds as integer
end type

sub fillScores(byref s as Sorted<<<integer>>>, byval n as integer)
  for i as integer = 1 to n
    s.insert((i * 37) mod 11)
  next
end sub

function boardTotal() as integer
  dim b as Board
  for i as integer = 1 to 4
    b.add(i * i)
    b.rounds += 1
  next
  dim t as integer
  for i as integer = 0 to b.count - 1
    t += b.at(i)
  next
  return t * 100 + b.rounds
end function

function tallied() as integer
  dim t as Tally
  t.add(2) : t.add(5)
  t.label = "t"
  return t.total()
end function
