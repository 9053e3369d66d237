' Short /' ... '/ comments inside lines of code, as some writers annotate
' types, parameters and headers; one of them comments out a field that the
' line goes on to replace.
template Box /' a box '/
  v as t1 /' the value '/
  declare function get() as t1 /' read it '/
end template

function Box.get() as t1 /' read '/
  return v
end function

type Shape /' the parent '/
  x as integer /' across '/
  /' y as integer '/ w as integer
  label as string = "/' not a comment '/" ' a string
  declare sub move(byval dx as integer /' how far '/, byval dw as integer = 1 /' wider '/)
end type

sub Shape.move(byval dx as integer /' how far '/, byval dw as integer) /' moves '/
  x += dx
  w += dw
end sub

type Circle extends Shape /' a round shape '/
  r as Box<<<integer>>> /' radius '/
end type

dim c as Circle
c.move(3)
c.move(1, 5)
c.r.v = 5
print c.x; c.w; c.r.get(); " "; c.label
