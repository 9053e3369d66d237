' The world of the simulation: containers, the creatures' root type, and the
' world itself. Included by both modules.
#ifndef WORLD_BI
#define WORLD_BI

const WORLD_W = 8
const WORLD_H = 4

template Grid
  w as integer
  h as integer
  cells(any) as t1
  declare sub init(byval w_ as integer, byval h_ as integer, byref fill as t1)
  declare function at(byval x as integer, byval y as integer) byref as t1
  declare function total() as t1
end template

sub Grid.init(byval w_ as integer, byval h_ as integer, byref fill as t1)
  w = w_
  h = h_
  redim cells(w * h - 1)
  for i as integer = 0 to w * h - 1
    cells(i) = fill
  next
end sub

function Grid.at(byval x as integer, byval y as integer) byref as t1
  return cells(((y + h) mod h) * w + ((x + w) mod w))
end function

function Grid.total() as t1
  dim s as t1
  for i as integer = 0 to ubound(cells)
    s += cells(i)
  next
  return s
end function

template List
  items(any) as t1
  count as integer
  declare sub add(byref v as t1)
  declare function at(byval i as integer) byref as t1
  declare sub removeAt(byval i as integer)
end template

sub List.add(byref v as t1)
  if count > ubound(items) then redim preserve items(count * 2 + 1)
  items(count) = v
  count += 1
end sub

function List.at(byval i as integer) byref as t1
  return items(i)
end function

sub List.removeAt(byval i as integer)
  for j as integer = i to count - 2
    items(j) = items(j + 1)
  next
  count -= 1
end sub

type Creature extends Object
  name as string
  x as integer
  y as integer
  energy as integer
  declare constructor()
  declare constructor(byref n as string, byval x_ as integer, byval y_ as integer, byval e as integer)
  declare virtual destructor()
  declare virtual sub act(byref food as Grid<<<integer>>>)
  declare virtual function glyph() as string
  declare function status() as string
end type

type World
  food as Grid<<<integer>>>
  beings as List<<<Creature ptr>>>
  tick as integer
  died as integer
  declare constructor()
  declare destructor()
  declare function stepAll() as integer
  declare sub render()
end type

declare function makeGrazer(byref n as string, byval x as integer, byval y as integer) as Creature ptr

#endif
