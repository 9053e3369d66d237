' Circles that extend a shape where users keep values: arrays grown with
' "redim preserve", "new" and "->", byref and byval parameters, a field of
' another type, a generic list, "with" blocks, "select case" and "dim shared".
template List
  items(any) as t1
  count as integer
  declare sub add(byref v as t1)
  declare function at(byval i as integer) byref as t1
end template

sub List.add(byref v as t1)
  redim preserve items(count)
  items(count) = v
  count += 1
end sub

function List.at(byval i as integer) byref as t1
  return items(i)
end function

type Shape
  name as string
  x as integer
  declare sub move(byval dx as integer)
  declare function describe() as string
end type

sub Shape.move(byval dx as integer)
  x += dx
end sub

function Shape.describe() as string
  return name & " at " & x
end function

type Circle extends Shape
  r as integer
  declare function describe() as string
end type

function Circle.describe() as string
  return parent.describe() & " r=" & r
end function

type Drawing
  title as string
  main as Circle
  extra(1 to 2) as Circle
end type

dim shared origin as Circle

sub grow(byref c as Circle)
  c.r += 1
  c.move(1)
end sub

sub tryGrow(byval c as Circle)
  c.r += 100
  c.move(100)
  print "inside: "; c.describe()
end sub

function makeCircle(byref n as string, byval r as integer) as Circle
  dim c as Circle
  c.name = n
  c.r = r
  return c
end function

sub showOrigin()
  print "origin: "; origin.describe()
end sub

dim a(3) as Circle
for i as integer = 0 to 3
  a(i).name = "c" & i
  a(i).r = i * 2
  a(i).x = i
next
redim b(1) as Circle
b(0) = a(1)
b(1) = a(2)
redim preserve b(3)
b(3).name = "late"
for i as integer = 0 to ubound(b)
  print i; ": "; b(i).describe()
next

dim p as Circle ptr = new Circle
p->name = "heap"
p->r = 9
p->move(5)
print p->describe(); " "; p->x
delete p

dim c as Circle = makeCircle("made", 4)
grow(c)
tryGrow(c)
print "after: "; c.describe()

dim d as Drawing
d.title = "sketch"
d.main = c
d.extra(2).name = "second"
d.extra(2).move(7)
print d.title; ": "; d.main.describe(); " / "; d.extra(2).describe()

dim l as List<<<Circle>>>
l.add(a(3))
l.add(c)
l.at(0).r = 42
print l.count; " "; l.at(0).describe(); " / "; l.at(1).describe()

with c
  .name = "within"
  .move(10)
  print .describe(); " "; .x
end with

for i as integer = 0 to 3
  select case a(i).x
  case 0
    print a(i).name; " is at the start"
  case 1 to 2
    print a(i).name; " is near"
  case else
    select case a(i).name
    case "c3"
      print "c3 is far"
    end select
  end select
next

origin.name = "o"
origin.r = 1
showOrigin()
