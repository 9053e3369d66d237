' Lines read into elements of an inherited array whose index calls a
' function: the function runs once, and the line lands in the field.
type Card
  tags(0 to 3) as string
end type

type Note extends Card
  title as string
  declare sub fill(byval at as integer)
end type

dim shared calls as integer

function pick() as integer
  calls += 1
  return calls
end function

sub Note.fill(byval at as integer)
  line input #1, tags(at + pick() - calls)
end sub

dim c as Note
open "lines.txt" for output as #1
print #1, "first line"
print #1, "second, with a comma"
print #1, "third"
close #1
open "lines.txt" for input as #1
line input #1, c.tags(pick())
line input #1, c.tags(pick() + 1)
c.fill(0)
close #1
kill "lines.txt"
print calls
for i as integer = 0 to 3
  print i; ": "; c.tags(i)
next
