#include "track.bi"
type Note
  text as string
  declare function shout() as string
end type
function Note.shout() as string
  return ucase(text)
end function

function describeAll() as string
  dim t as Tracked<<<Note>>>
  t.text = "other module"
  t.touch()
  dim b as Bag<<<Tracked<<<Note>>>>>>
  b.add(t)
  return b.items(0).shout() & " " & b.items(0).report()
end function
