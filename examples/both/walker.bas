' walker.bas: a walker that can retrace its steps, using a generic stack
' inside a type that extends another.
'   fbc walker.bas

#include once "stack.bi"

type Walker
  x as integer
  y as integer
  declare sub moveBy(byval dx as integer, byval dy as integer)
  declare function position() as string
end type

sub Walker.moveBy(byval dx as integer, byval dy as integer)
  x += dx
  y += dy
end sub

function Walker.position() as string
  return "(" & x & ", " & y & ")"
end function

' Remembers every position it leaves, so it can go back.
type UndoWalker extends Walker
  xs as Stack<<<integer>>>
  ys as Stack<<<integer>>>
  declare sub stepBy(byval dx as integer, byval dy as integer)
  declare sub undo()
end type

sub UndoWalker.stepBy(byval dx as integer, byval dy as integer)
  xs.push(x)
  ys.push(y)
  moveBy(dx, dy)
end sub

sub UndoWalker.undo()
  if not xs.isEmpty() then
    this.x = xs.pop()
    this.y = ys.pop()
  end if
end sub

dim w as UndoWalker
w.stepBy(2, 0)
w.stepBy(0, 3)
w.stepBy(-1, 1)
print "after three steps: "; w.position()
w.undo()
w.undo()
print "after two undos:   "; w.position()
