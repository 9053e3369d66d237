' world.bas -- the map of the adventure
#include once "world.bi"

namespace World

dim shared rooms() as Room

private sub addRoom(byref t as string, byref d as string, _
                    byval n as integer, byval s as integer, _
                    byval e as integer, byval w as integer)
  dim i as integer = ubound(rooms) + 1
  redim preserve rooms(0 to i)
  with rooms(i)
    .title = t
    .text = d
    .exits(DIR_NORTH) = n
    .exits(DIR_SOUTH) = s
    .exits(DIR_EAST) = e
    .exits(DIR_WEST) = w
  end with
end sub

private sub addItem(byval r as integer, byref n as string, byval wt as integer, byval v as integer)
  dim it as Item
  it.name_ = n : it.weight = wt : it.value = v
  rooms(r).loot.push(it)
end sub

sub build()
  addRoom("Cellar", "A damp cellar. Stairs lead north.", 1, NO_EXIT, NO_EXIT, NO_EXIT)
  addRoom("Kitchen", "A cold kitchen. Doors east and south.", NO_EXIT, 0, 2, NO_EXIT)
  addRoom("Hall", "A long hall with a locked door north.", 3, NO_EXIT, NO_EXIT, 1)
  addRoom("Vault", "The vault! Gold glitters here.", NO_EXIT, 2, NO_EXIT, NO_EXIT)
  addItem(0, "lamp", 2, 5)
  addItem(1, "knife", 1, 3)
  addItem(1, "bread", 1, 1)
  addItem(2, "key", 1, 0)
  addItem(3, "gold", 5, 100)
  addItem(3, "crown", 3, 250)
end sub

function roomCount() as integer
  return ubound(rooms) + 1
end function

function roomAt(byval i as integer) as Room ptr
  if i < 0 orelse i > ubound(rooms) then return 0
  return @rooms(i)
end function

function dirFromWord(byref w as string) as integer
  select case lcase(w)
  case "n", "north" : return DIR_NORTH
  case "s", "south" : return DIR_SOUTH
  case "e", "east"  : return DIR_EAST
  case "w", "west"  : return DIR_WEST
  end select
  return NO_EXIT
end function

function dirName(byval d as integer) as string
  static names(0 to 3) as zstring * 8 = {"north", "south", "east", "west"}
  return names(d)
end function

end namespace
