' world.bi: what both modules share, found beside this header.
#include once "containers/list.bi"
#include once "../inc/containers/pair.bi"

type Point
  x as integer
  y as integer
end type

declare function pathLength(byref path as List<<<Point>>>) as integer
declare function scoreBoard() as Pair<<<string, integer>>>
declare sub logLine(byref s as string)
