' Template members that change fields their argument inherits: compound
' assignments, swaps, with blocks and line input inside the template.
type Player
  name as string
  hits as integer
  scores(0 to 2) as integer
end type
type Pro extends Player
  club as string
end type

template Team
  members(0 to 2) as t1
  declare sub hitAll(byval n as integer)
  declare sub rotate()
  declare sub readNames(byval f as integer)
  declare sub show()
end template
sub Team.hitAll(byval n as integer)
  for i as integer = 0 to 2
    members(i).hits += n * (i + 1)
    members(i).scores(i) += 10
    with members(i)
      .hits -= 1
      .name &= "*"
    end with
  next
end sub
sub Team.rotate()
  swap members(0).name, members(2).name
  swap members(1).hits, members(2).hits
end sub
sub Team.readNames(byval f as integer)
  for i as integer = 0 to 2
    line input #f, members(i).name
  next
end sub
sub Team.show()
  for i as integer = 0 to 2
    with members(i)
      print .name; .hits; .scores(0); .scores(1); .scores(2); " |";
    end with
  next
  print
end sub

open "names.txt" for output as #1
print #1, "ann" : print #1, "bob lee" : print #1, "cy, jr"
close #1
dim t as Team<<<Pro>>>
open "names.txt" for input as #1
t.readNames(1)
close #1
t.show()
t.hitAll(2)
t.show()
t.rotate()
t.members(1).club = "fc"
t.show()
print t.members(1).club
dim u as Team<<<Player>>>
u.hitAll(1)
u.rotate()
u.show()
kill "names.txt"
