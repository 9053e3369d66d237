' The team module: a sorted list of names with a title.
#include once "list.bi"

type Team extends Sorted<<<string>>>
  title as string
  declare sub show()
end type
sub Team.show()
  print title; ":";
  for i as integer = 0 to count - 1
    print " "; items(i);
  next
  print " ("; count; ")"
end sub

dim t as Team
t.title = "blue"
t.insert("max") : t.insert("amy") : t.insert("kai")
t.show()
t.count -= 1
t.title &= "!"
t.show()
dim s as Sorted<<<integer>>>
fillScores(s, 5)
for i as integer = 0 to s.count - 1
  print s.at(i);
next
print
print boardTotal(); tallied()
