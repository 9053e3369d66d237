' "rem" comments out the rest of a line wherever it stands as a word, as "'"
' does: after a statement, after "then" and "else". A use of a template
' there, even of a type that does not exist, is part of the comment.
template Box
  item as t1
  declare function twice() as t1
end template

function Box.twice() as t1
  return item * 2
end function

dim n as Box<<<integer>>> rem the count, not a Box<<<Count>>>
n.item = 1
n.item += 2 rem dim other as Box<<<Missing>>>
print n.twice() REM Box<<<Shown>>>
if n.item = 3 then rem dim extra as Box<<<NotAType>>>
  dim d as Box<<<double>>>
  d.item = 1.25
  print d.twice()
end if
if n.item = 0 then print "none" else rem print Box<<<Nothing>>>
dim s as Box<<<short>>> : s.item = 4 : rem Box<<<Plain>>>
print s.twice()
