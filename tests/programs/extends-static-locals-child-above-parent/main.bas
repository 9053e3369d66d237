' A parent declared below the type that extends it, its members counting
' with static variables: one count for both types.

type Circle extends Shape
  r as integer
end type

type Shape
  id as integer
  declare constructor()
  declare sub tick()
end type

constructor Shape(): static lastId as integer: lastId += 1: id = lastId
end constructor

sub Shape.tick(): Static T As UInteger = &h10: t += 1: print "tick"; t; " of"; id: end sub

dim a as Shape : dim b as Circle : dim c as Shape
print a.id, b.id, c.id
a.tick() : b.tick() : c.tick()
