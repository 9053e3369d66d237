' The names a parent's block declares for its own use (constants, enums,
' their values, nested types and unions, static member variables), named
' without the parent in the members of the types that extend it, as
' FreeBASIC's own inheritance lets them be.
const MAX_HP = 999

type Unit
  const MAX_HP = 100
  const LEVELS = 5, BONUS = 2
  enum Team
    RED = 1
    BLUE
  end enum
  type Point2
    x as integer
    y as integer
  end type
  union Bits
    whole as long
    low as short
  end union
  static made as integer
  hp as integer
  team_ as Team
  pos as Point2
private:
  const SECRET = 7
public:
  declare function cap() as integer
  declare sub place(byval p as Point2)
end type

dim Unit.made as integer

function Unit.cap() as integer
  return MAX_HP + SECRET
end function

sub Unit.place(byval p as Point2)
  pos = p
end sub

type Soldier extends Unit
  const BONUS = 10 ' its own: hides Unit's
  rank as integer
  declare constructor()
  declare sub heal(byval amount as integer)
  declare function describe() as string
  declare function scaled(byval LEVELS as integer) as integer
  declare function locals() as integer
end type

constructor Soldier()
  made += 1
  hp = MAX_HP \ 2
  team_ = BLUE
  rank = LEVELS
end constructor

sub Soldier.heal(byval amount as integer)
  hp += amount
  if hp > MAX_HP then hp = MAX_HP ' Unit's MAX_HP, not the global one
end sub

function Soldier.describe() as string
  dim t as Team = team_
  dim s as string = "MAX_HP"
  select case t
  case RED: s &= " red"
  case BLUE: s &= " blue"
  end select
  return s & " hp=" & hp & " bonus=" & BONUS & " secret=" & SECRET
end function

' A parameter named like the parent's constant is the member's own.
function Soldier.scaled(byval LEVELS as integer) as integer
  return LEVELS * BONUS
end function

function Soldier.locals() as integer
  var made = 40
  dim as integer RED = 1, low = 2
  return made + RED + low + LEVELS
end function

type Captain extends Soldier
  declare function report() as string
  declare sub march()
end type

function Captain.report() as string
  hp += LEVELS * BONUS /' a comment naming LEVELS
  and BONUS '/
  return "captain " & MAX_HP & " " & LEVELS & " " & BONUS & " " & Unit.BONUS & " " & (RED + BLUE)
end function

sub Captain.march()
  dim p as Point2 = pos
  p.x += 3
  dim q as Point2
  q.y = p.x * 2
  place(q)
  dim b as Bits
  b.whole = &h10002
  print "march"; p.x; pos.y; b.low; made
end sub

dim s as Soldier
print s.describe()
s.heal(70)
print s.hp; s.rank; s.scaled(3); s.cap(); s.locals()
dim c as Captain
c.heal(1)
print c.report(); c.hp
print c.describe()
c.pos.x = 4
c.march()
print MAX_HP; Unit.made
