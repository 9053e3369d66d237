' Inherited enum fields whose enums come from a header or a namespace.
#include once "shapes.bi"

namespace Geo
  enum Mode
    Flat
    Raised
    Sunken
  end enum
end namespace

type Shape
  fill as Fill
  mode as Geo.Mode
  declare sub reset_()
end type

sub Shape.reset_()
  fill = Hollow
  mode = Geo.Mode.Flat
end sub

type Circle extends Shape
  r as integer
  declare sub bump()
end type

sub Circle.bump()
  fill += 1
  mode = mode + 1
end sub

dim c as Circle
c.reset_()
c.fill += 1
c.mode += 1
print c.fill; c.mode
c.bump()
print c.fill; c.mode
c.fill = c.fill - 2
c.mode -= 2
with c
  .fill += 2
  .mode = .mode + 2
end with
print c.fill; c.mode
if c.fill = Solid andalso c.mode = Geo.Mode.Sunken then print "solid and sunken"
