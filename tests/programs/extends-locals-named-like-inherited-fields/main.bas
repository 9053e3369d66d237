' Members of extending types that declare local variables named like what
' the type inherits: the local hides the inherited field or member inside
' its own block, as FreeBASIC's own inheritance has it, and the inherited
' one is back after the block.

type Unit
  hp as integer
  level as integer
  tag as string
  declare function power() as integer
  declare sub heal(byval n as integer)
end type

function Unit.power() as integer
  return hp * level
end function

sub Unit.heal(byval n as integer)
  hp += n
end sub

type Mage extends Unit
  mana as integer
  declare constructor(byval start as integer = 10)
  declare sub study()
  declare function report() as string
  declare sub branches(byval pick as integer)
end type

constructor Mage(byval start as integer = 10)
  dim as integer level = 1, hp = start
  this.level = level + 1
  this.hp = hp * 2
  mana = start
end constructor

sub Mage.study()
  print "before:"; hp; level
  scope
    dim hp as integer = 99
    hp += 1
    print "scope:"; hp; this.hp
  end scope
  for level as integer = 1 to 3 step 2
    print "loop:"; level; this.level
  next level
  print "after:"; hp; level
  var power = "strong"
  print power; this.power()
  dim tag(1 to 2) as string
  tag(1) = "a" : tag(2) = "b"
  print tag(1) & tag(2); " "; this.tag
end sub

function Mage.report() as string
  dim s as string = "hp=" & hp
  with this
    dim level as double = .level / 2
    s &= " half=" & level & " lvl=" & .level
  end with
  return s & " tag=" & tag
end function

sub Mage.branches(byval pick as integer)
  if pick = 1 then
    dim hp as integer = -1
    print "one:"; hp
  elseif pick = 2 then
    print "two:"; hp
  else
    dim hp as string = "three"
    print "else: "; hp
  end if
  select case pick
  case 1
    dim level as integer = 100
    print "case one:"; level
  case else
    print "case else:"; level
  end select
  heal(pick)
  print "healed:"; hp
end sub

type Archmage extends Mage
  staff as string
  declare sub show()
end type

sub Archmage.show()
  dim mana as integer = 5
  print "archmage:"; mana; this.mana; hp; level
end sub

dim m as Mage = Mage(4)
m.tag = "m"
m.study()
print m.report()
m.branches(1)
m.branches(2)
m.branches(3)
dim a as Archmage
a.tag = "a"
a.study()
a.show()
print a.report()
