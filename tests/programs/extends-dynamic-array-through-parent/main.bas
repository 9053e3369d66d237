' An inherited dynamic array: elements through the child, its bounds and
' size through parent.

type Team
  scores(any) as integer
  declare function total() as integer
end type

function Team.total() as integer
  dim sum as integer
  for i as integer = lbound(scores) to ubound(scores)
    sum += scores(i)
  next
  return sum
end function

type Club extends Team
  name as string
end type

dim c as Club
c.name = "Reds"
redim c.parent.scores(1 to 3)
c.scores(1) = 4
c.scores(2) = 7
c.scores(3) = c.scores(1) + c.scores(2)
print c.name; lbound(c.parent.scores); ubound(c.parent.scores); c.total()
redim preserve c.parent.scores(1 to 4)
c.scores(4) = 1
print c.scores(3); c.total()
