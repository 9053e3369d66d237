' Static variables in the members of a parent type count once for the
' parent's values and for those of the types that extend it.

type Shape
  id as integer
  declare constructor()
  declare destructor()
  declare sub tag()
  declare function calls() as integer
  declare property label() as string
  declare operator cast() as string
  declare sub note()
  declare sub tick()
end type

constructor Shape()
  static lastId as integer
  lastId += 1
  id = lastId
end constructor

destructor Shape()
  STATIC Gone As Integer = 100
  Gone += 1
  print "gone"; Gone
end destructor

sub Shape.tag(): static n as integer: n += 1: print "tag"; n; " of"; id
end sub

function Shape.calls() as integer
  static n as integer = 10 ' the same name as in tag
  n += 1
  return n
end function

property Shape.label() as string
  static as string prefix
  prefix &= "+"
  return prefix & str(id)
end property

operator Shape.cast() as string
  static casts as double = 0.5
  casts += 1
  return "cast" & casts
end operator

declare sub helper()
sub helper()
  static n as integer
  n += 1
end sub

' Written after other code.
sub Shape.note()
  static notes as long = -3
  notes += 1
  print "note"; notes
end sub

sub Shape.tick(): Static T As UInteger = &h10: t += 1: print "tick"; t: end sub

type Circle extends Shape
  r as integer
end type

type Counter
  x as integer
  declare sub bump()
end type

sub Counter.bump()
  static bumps as integer
  bumps += 1
  print "bump"; bumps
end sub

scope
  dim a as Shape
  dim b as Circle
  dim c as Shape
  dim d as Circle
  print a.id, b.id, c.id, d.id
  a.tag() : b.tag() : c.tag() : d.tag()
  print a.calls(); b.calls(); c.calls()
  print a.label; " "; b.label; " "; d.label
  print cast(string, a); " "; cast(string, b.parent)
  a.note() : b.note() : d.note()
  b.tick() : c.tick()
  dim k as Counter
  k.bump() : k.bump()
end scope
print "end"
