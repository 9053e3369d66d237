' ==========================================================
'   THE VAULT  -  a very small text adventure
'   fbc -c world.bas ; fbc -c main.bas ; fbc main.o world.o -x main
' ==========================================================
#include once "world.bi"

using World

const MAX_CARRY = 8

'----------------------------------------------------------
' every living thing in the game
'----------------------------------------------------------
type Creature
  name_ as string
  hp as integer = 10
  maxHp as integer = 10
  where as integer
  pack as Bag<<<Item>>>
  declare function alive() as boolean
  declare sub hurt(byval n as integer)
  declare function carried() as integer
  declare function status() as string
end type

function Creature.alive() as boolean
  return hp > 0
end function

sub Creature.hurt(byval n as integer)
  hp -= n
  if hp < 0 then hp = 0
end sub

function Creature.carried() as integer
  dim total as integer = 0
  for i as integer = 0 to pack.used - 1
    total += pack.things(i).weight
  next
  return total
end function

function Creature.status() as string
  return name_ & " [" & hp & "/" & maxHp & "]"
end function

'----------------------------------------------------------
' the player
'----------------------------------------------------------
Type Player Extends Creature
  moves As Integer
  score As Integer
  Declare Function go(ByVal d As Integer) As Boolean
  Declare Sub pickUp(ByRef what As String)
  Declare Sub drop(ByRef what As String)
  Declare Sub showInventory()
End Type

Function Player.go(ByVal d As Integer) As Boolean
  Dim r As Room Ptr = roomAt(where)
  If d = NO_EXIT OrElse r->exits(d) = NO_EXIT Then Return False
  ' the vault is locked unless the key is carried
  If r->exits(d) = 3 AndAlso pack.indexOf("key") < 0 Then
    Print "The door is locked."
    Return False
  End If
  where = r->exits(d)
  moves += 1
  Return True
End Function

Sub Player.pickUp(ByRef what As String)
  Dim r As Room Ptr = roomAt(where)
  Dim i As Integer = r->loot.indexOf(what)
  If i < 0 Then
    Print "There is no "; what; " here."
    Exit Sub
  End If
  If carried() + r->loot.things(i).weight > MAX_CARRY Then
    Print "The "; what; " is too heavy to carry as well."
    Exit Sub
  End If
  Dim it As Item = r->loot.take(i)
  pack.push(it)
  score += it.value
  Print "Taken: "; it.name_
End Sub

Sub Player.drop(ByRef what As String)
  Dim i As Integer = pack.indexOf(what)
  If i < 0 Then Print "You have no "; what; "." : Exit Sub
  Dim it As Item = pack.take(i)
  score -= it.value
  roomAt(where)->loot.push(it)
  Print "Dropped: "; it.name_
End Sub

Sub Player.showInventory()
  If pack.length = 0 Then Print "You carry nothing." : Exit Sub
  Print "You carry:";
  For i As Integer = 0 To pack.length - 1
    Print " "; pack.things(i).name_;
  Next
  Print " ("; carried(); "/"; MAX_CARRY; ")"
End Sub

'----------------------------------------------------------
' a monster guards the hall
'----------------------------------------------------------
TYPE Monster EXTENDS Creature
  bite AS INTEGER
  DECLARE SUB attack(BYREF p AS Player)
END TYPE

SUB Monster.attack(BYREF p AS Player)
  IF NOT alive() THEN EXIT SUB
  p.hurt(bite)
  PRINT name_; " bites you for"; bite; "."
END SUB

'----------------------------------------------------------
dim shared hero as Player
dim shared rat as Monster

sub look()
  dim r as Room ptr = roomAt(hero.where)
  print "== "; r->title; " =="
  print r->text
  if r->loot.length > 0 then
    print "You see:";
    for i as integer = 0 to r->loot.length - 1
      print " "; r->loot.things(i).name_;
    next
    print
  end if
  dim ways as string
  for d as integer = DIR_NORTH to DIR_WEST
    if r->exits(d) <> NO_EXIT then ways &= " " & dirName(d)
  next
  print "Exits:"; ways
  if rat.alive() andalso rat.where = hero.where then print "A "; rat.name_; " is here!"
end sub

sub doCommand(byref cmdLine as string)
  dim verb as string, noun as string
  dim sp as integer = instr(cmdLine, " ")
  if sp > 0 then
    verb = lcase(left(cmdLine, sp - 1))
    noun = mid(cmdLine, sp + 1)
  else
    verb = lcase(cmdLine)
  end if
  print "> "; cmdLine
  select case verb
  case "look", "l"
    look()
  case "go"
    if hero.go(dirFromWord(noun)) then look() else print "You can't go that way."
  case "n", "s", "e", "w"
    if hero.go(dirFromWord(verb)) then look() else print "You can't go that way."
  case "take", "get"
    hero.pickUp(noun)
  case "drop"
    hero.drop(noun)
  case "i", "inv"
    hero.showInventory()
  case "hit"
    if rat.where = hero.where andalso rat.alive() then
      dim dmg as integer = iif(hero.pack.indexOf("knife") >= 0, 6, 2)
      rat.hurt(dmg)
      print "You hit the "; rat.name_; " ("; rat.status(); ")"
      if not rat.alive() then print "The "; rat.name_; " dies." : hero.score += 10
    else
      print "Nothing to hit."
    end if
  case else
    print "I don't understand '"; verb; "'."
  end select
  ' the rat bites back
  if rat.where = hero.where then rat.attack(hero)
end sub

' --- setup ---
World.build()
hero.name_ = "You"
rat.name_ = "rat"
rat.where = 2
rat.hp = 8 : rat.maxHp = 8
rat.bite = 1

' --- a scripted game ---
dim script_ as string
restore gameScript
do
  read script_
  if script_ = "*" then exit do
  doCommand(script_)
  if not hero.alive() then print "You died." : exit do
loop

print
print "Final: "; hero.status(); "  moves"; hero.moves; "  score"; hero.score
print using "Rooms: ##  carried: ##/##"; World.roomCount(); hero.carried(); MAX_CARRY

gameScript:
data "look", "take lamp", "take sword", "n", "take knife", "take bread", "i"
data "e", "hit", "hit", "take key", "n", "take gold", "take crown"
data "drop bread", "take crown", "i", "dance", "s", "w", "s", "*"
