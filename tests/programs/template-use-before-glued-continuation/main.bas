' A use followed right away by a continuation "_" or by "rem", with no
' blank between: the compiler reads the "_" and the "rem" on their own, so
' they must not join the instance's name.
template Box
  item as t1
  declare function twice() as t1
end template

function Box.twice() as t1
  return item * 2
end function

dim a as Box<<<integer>>>_
  , b as Box<<<double>>>
dim c as Box<<<short>>>rem a box of a Box<<<Missing>>>
a.item = 2 : b.item = 1.25 : c.item = 4
print a.twice(); b.twice(); c.twice()

function total(byval x as Box<<<integer>>>, byval y as Box<<<double>>>)_
    as double
  return x.item + y.item
end function
print total(a, b)
