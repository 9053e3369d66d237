' Enums commented out or switched off, here and in a header, whose names
' are types now: an extending type's fields of those types stay values.
#include once "old.bi"

/'
enum Mode
  Dark
  Light
end enum
'/
type Mode
  level as integer
  declare function describe() as string
end type

function Mode.describe() as string
  return "level " & level
end function

type Shade
  depth as integer
end type

type Glow
  lumens as integer
end type

type Lamp
  m as Mode
  s as Shade
  g as Glow
end type

type DeskLamp extends Lamp
  watts as integer
end type

dim d as DeskLamp
d.m.level = 3
d.s.depth = 7
d.g.lumens = 800
d.watts = 40
print d.m.describe(); d.watts; d.s.depth; d.g.lumens
