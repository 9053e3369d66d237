' A shape with a destructor that counts, overloaded constructors, "let",
' "cast" and "+=" operators, comparisons written outside the type, an
' indexed property, static, const and byref-result members, and a circle
' that extends it: every shape part is built and destroyed once, and the
' parts' string-holding fields are freed (the probes count them).
dim shared madeShapes as integer
dim shared goneShapes as integer
dim shared liveProbes as integer

' Counts how many are alive, to show that every part is destroyed once.
type Probe
  note as string
  declare constructor()
  declare constructor(byref other as Probe)
  declare destructor()
end type

constructor Probe()
  liveProbes += 1
end constructor

constructor Probe(byref other as Probe)
  note = other.note
  liveProbes += 1
end constructor

destructor Probe()
  liveProbes -= 1
end destructor

type Shape
  name as string
  x as integer
  y as integer
  tags(0 to 2) as string
  life as Probe
  declare constructor()
  declare constructor(byref n as string)
  declare constructor(byref n as string, byval px as integer, byval py as integer)
  declare destructor()
  declare operator let(byref n as string)
  declare operator cast() as string
  declare operator += (byval d as integer)
  declare property tag(byval i as integer) as string
  declare property tag(byval i as integer, byref v as string)
  declare static function count() as integer
  declare const function where() as string
  declare function nameRef() byref as string
end type

constructor Shape()
  name = "shape"
  madeShapes += 1
end constructor

constructor Shape(byref n as string)
  name = n
  madeShapes += 1
end constructor

constructor Shape(byref n as string, byval px as integer, byval py as integer)
  name = n
  x = px
  y = py
  madeShapes += 1
end constructor

destructor Shape()
  goneShapes += 1
end destructor

operator Shape.let(byref n as string)
  name = n
end operator

operator Shape.cast() as string
  return name & "@" & x & "," & y
end operator

operator Shape.+= (byval d as integer)
  x += d
  y += d
end operator

property Shape.tag(byval i as integer) as string
  return tags(i)
end property

property Shape.tag(byval i as integer, byref v as string)
  tags(i) = v
end property

static function Shape.count() as integer
  return madeShapes - goneShapes
end function

const function Shape.where() as string
  return "(" & x & "," & y & ")"
end function

function Shape.nameRef() byref as string
  return name
end function

operator = (byref a as Shape, byref b as Shape) as integer
  return a.x = b.x andalso a.y = b.y
end operator

operator < (byref a as Shape, byref b as Shape) as integer
  return a.x < b.x
end operator

type Circle extends Shape
  r as double
  label as string
  declare constructor()
  declare constructor(byval r as double)
  declare function area() as double
end type

constructor Circle()
  r = 1
  label = name & "-" & r
end constructor

constructor Circle(byval r as double)
  parent.name = "circle"
  x = 2
  y = 3
  this.r = r
  label = name & " at" & where()
end constructor

function Circle.area() as double
  return 3 * r * r
end function

scope
  dim a as Circle
  dim b as Circle = Circle(2.5)
  print a.label; " / "; b.label
  print "live:"; Shape.count(); " "; Circle.count()
  a.parent = "renamed"
  print a.name, a.parent
  b.parent += 4
  print b.where(), b.parent
  b.tag(1) = "red"
  b.tag(2) = b.tag(1) & "dish"
  print b.tag(0); "|"; b.tag(1); "|"; b.tag(2)
  b.nameRef() = "big"
  print b.name; b.area()
  dim s1 as Shape = Shape("s1", 6, 7)
  dim s2 as Shape
  print s1 = s2, s2 < s1, s1 < s2
  s2 += 6 : s2.y = 7
  print s1 = s2; " "; s2
end scope
scope
  dim copies(1 to 3) as Circle
  for i as integer = 1 to 3
    copies(i) = Circle(i)
    copies(i).life.note = "copy" & i
  next
  dim last as Circle = copies(3)
  print "probes:"; liveProbes; " "; last.life.note; " "; last.label
end scope
print "probes left:"; liveProbes
print "made"; madeShapes; " gone"; goneShapes; " live"; Shape.count()
