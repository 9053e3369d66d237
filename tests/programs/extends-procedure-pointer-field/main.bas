' A parent with a callback field: the child sets it, fires it through the
' parent's member, reads it, and calls it through parent.

sub hello(byval n as integer)
  print "hello"; n
end sub

function twice(byval n as integer) as integer
  return 2 * n
end function

type Widget
  onClick as sub(byval n as integer)
  measure as function(byval n as integer) as integer
  tag as zstring ptr
  declare sub fire(byval n as integer)
end type

sub Widget.fire(byval n as integer)
  if onClick then onClick(n)
end sub

type Button extends Widget
  caption as string
end type

dim b as Button
b.fire(1)
b.onClick = @hello
b.measure = @twice
b.fire(3)
b.tag = @"tagged"
print *b.tag
dim f as sub(byval n as integer) = b.onClick
f(4)
b.parent.onClick(5)
print b.parent.measure(21)
