' A const member of an extending type reads the parent's constant and a field of
' one of the program's own types, plainly and through this, beside a member that
' changes the field with the constant.
type Point
  x as integer
  y as integer
end type

type Animal
  const LEG_COUNT = 4
  pos as Point
  name as string
  declare sub moveTo(byval x as integer)
end type

sub Animal.moveTo(byval x as integer)
  pos.x = x
end sub

type Bird extends Animal
  wings as integer
  declare const function describe() as string
  declare sub flap()
end type

const function Bird.describe() as string
  return name & " at " & pos.x & " legs " & LEG_COUNT & " wings " & wings & " / " & this.pos.y + LEG_COUNT
end function

sub Bird.flap()
  pos.y += LEG_COUNT
end sub

dim b as Bird
b.name = "robin"
b.wings = 2
b.moveTo(7)
b.flap()
print b.describe()
dim a as Animal
a.moveTo(3)
print a.pos.x; Animal.LEG_COUNT
