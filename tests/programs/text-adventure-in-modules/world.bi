' world.bi -- rooms and items
#include once "lists.bi"

namespace World

  const NO_EXIT = -1

  enum Direction
    DIR_NORTH
    DIR_SOUTH
    DIR_EAST
    DIR_WEST
  end enum

  type Item
    name_ as string
    weight as integer
    value as integer
  end type

  type Room
    title as string
    text as string
    exits(0 to 3) as integer
    loot as Bag<<<Item>>>
  end type

  declare sub build()
  declare function roomCount() as integer
  declare function roomAt(byval i as integer) as Room ptr
  declare function dirFromWord(byref w as string) as integer
  declare function dirName(byval d as integer) as string

end namespace
