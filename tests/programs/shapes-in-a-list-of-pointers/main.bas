' Shapes kept in a generic list of pointers and drawn through virtual members.

template List
  items as t1 ptr
  count as integer
  capacity as integer
  declare sub add(byval v as t1)
  declare function at(byval i as integer) byref as t1
  declare sub removeAt(byval i as integer)
  declare destructor()
end template

sub List.add(byval v as t1)
  if count = capacity then
    capacity = iif(capacity = 0, 2, capacity * 2)
    items = reallocate(items, capacity * sizeof(t1))
  end if
  items[count] = v
  count += 1
end sub

function List.at(byval i as integer) byref as t1
  return items[i]
end function

sub List.removeAt(byval i as integer)
  for j as integer = i to count - 2
    items[j] = items[j + 1]
  next
  count -= 1
end sub

destructor List()
  deallocate(items)
end destructor

function twoPlaces(byval d as double) as string
  return str(cint(d * 100) / 100)
end function

type Shape extends Object
  name as string
  declare constructor(byref n as string = "shape")
  declare abstract function area() as double
  declare virtual function describe() as string
  declare virtual destructor()
end type

constructor Shape(byref n as string)
  name = n
end constructor

function Shape.describe() as string
  return name & " of area " & twoPlaces(area())
end function

destructor Shape()
  print "  gone: "; name
end destructor

type Circle extends Shape
  r as double
  declare constructor(byval r as double = 1)
  declare function area() as double override
end type

constructor Circle(byval r as double)
  base("circle")
  this.r = r
end constructor

function Circle.area() as double
  return 3.14159 * r * r
end function

type Rect extends Shape
  w as double
  h as double
  declare constructor(byval w as double = 1, byval h as double = 1)
  declare function area() as double override
  declare function describe() as string override
end type

constructor Rect(byval w as double, byval h as double)
  base("rect")
  this.w = w : this.h = h
end constructor

function Rect.area() as double
  return w * h
end function

function Rect.describe() as string
  return base.describe() & " (" & w & " x " & h & ")"
end function

type Square extends Rect
  declare constructor(byval s as double = 1)
end type

constructor Square(byval s as double)
  base(s, s)
  name = "square"
end constructor

dim shapes as List<<<Shape ptr>>>
shapes.add(new Circle(1))
shapes.add(new Rect(2, 3))
shapes.add(new Square(2))
shapes.add(new Circle(0.5))

dim total as double
for i as integer = 0 to shapes.count - 1
  dim s as Shape ptr = shapes.at(i)
  print i; ": "; s->describe()
  total += s->area()
  if *s is Rect then print "   a rectangle of width"; cast(Rect ptr, s)->w
  if *s is Square then print "   and a square too"
  if *s is Circle then print "   a circle of radius"; cast(Circle ptr, s)->r
next
print "total area "; twoPlaces(total)

' swap the first and the last through the byref result
dim byref firstRef as Shape ptr = shapes.at(0)
dim byref lastRef as Shape ptr = shapes.at(shapes.count - 1)
swap firstRef, lastRef
print "first now: "; shapes.at(0)->describe()

' an array of circles made with new[]
dim ring as Circle ptr = new Circle[3]
for i as integer = 0 to 2
  ring[i].r = i + 1
  ring[i].name = "ring" & i
next
dim ringList as List<<<Circle ptr>>>
for i as integer = 0 to 2
  ringList.add(@ring[i])
next
dim ringArea as double
for i as integer = 0 to ringList.count - 1
  ringArea += ringList.at(i)->area()
next
print "ring area "; twoPlaces(ringArea)
delete[] ring

' take the rectangles out, largest area first
dim biggest as integer = 0
for i as integer = 1 to shapes.count - 1
  if shapes.at(i)->area() > shapes.at(biggest)->area() then biggest = i
next
print "biggest: "; shapes.at(biggest)->describe()
delete shapes.at(biggest)
shapes.removeAt(biggest)
print "left:"; shapes.count
for i as integer = shapes.count - 1 to 0 step -1
  delete shapes.at(i)
  shapes.removeAt(i)
next
print "left:"; shapes.count
