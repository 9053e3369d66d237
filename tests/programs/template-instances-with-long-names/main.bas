' Instances of procedure types with descriptive parameters get names longer
' than the 128 characters the compiler reads of a name. Two handler types
' that differ only at their end stay two types, and so do the names made
' from an instance's own (its guard, the alias of "t1 ptr", the twin of a
' type that extends it).
template Registry
  handlers(0 to 3) as t1
  last as t1 ptr
  count as integer
  declare sub add(byval h as t1)
end template

sub Registry.add(byval h as t1)
  handlers(count) = h
  last = @handlers(count)
  count += 1
end sub

type Widget
  id as integer
end type

function onResize(byval sourceWidgetOfTheEvent as Widget ptr, byval newWidthOfTheWindowInPixels as integer, _
                  byval newHeightInPixels as integer) as integer
  return sourceWidgetOfTheEvent->id + newWidthOfTheWindowInPixels + newHeightInPixels
end function

function onScroll(byval sourceWidgetOfTheEvent as Widget ptr, byval newWidthOfTheWindowInPixels as integer, _
                  byval scrolledByLines as double) as integer
  return sourceWidgetOfTheEvent->id * 100 + newWidthOfTheWindowInPixels + int(scrolledByLines)
end function

dim w as Widget
w.id = 7
dim resizing as Registry<<<function(byval sourceWidgetOfTheEvent as Widget ptr, byval newWidthOfTheWindowInPixels as integer, byval newHeightInPixels as integer) as integer>>>
dim scrolling as Registry<<<function(byval sourceWidgetOfTheEvent as Widget ptr, byval newWidthOfTheWindowInPixels as integer, byval scrolledByLines as double) as integer>>>
resizing.add(@onResize)
scrolling.add(@onScroll)
print resizing.handlers(0)(@w, 640, 480); (*scrolling.last)(@w, 2, 3.5)

type LoggedScrolling extends Registry<<<function(byval sourceWidgetOfTheEvent as Widget ptr, byval newWidthOfTheWindowInPixels as integer, byval scrolledByLines as double) as integer>>>
  label as string
end type

dim logged as LoggedScrolling
logged.label = "scroll"
logged.add(@onScroll)
print logged.label; logged.count; logged.parent.handlers(0)(@w, 1, 1)
