' Parent members whose parameters are named like its fields and written
' without byval or byref, built with -w pedantic: the extending type's
' forwarders pass them on as the parent's members take them.
type Shape
  x as integer
  label as string
  declare sub place(x as integer)
  declare sub relabel(label as string)
end type

sub Shape.place(x as integer)
  this.x = x
  x = 0
end sub

sub Shape.relabel(label as string)
  this.label = label
  label = "taken"
end sub

type Circle extends Shape
  r as integer
end type

dim c as Circle
dim where as integer = 7
dim named as string = "round"
c.place(where)
c.relabel(named)
print c.x; where; " "; c.label; " "; named
