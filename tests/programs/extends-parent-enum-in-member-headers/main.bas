' A parent's members name the enum and the constant it declares inside
' through the parent, in their parameters, results and defaults, as its
' block declares them.
type Pen
  enum Mode
    Thin = 1
    Bold = 2
  end enum
  const WIDE = 7
  m as Pen.Mode
  declare constructor(byval start as Pen.Mode = Pen.Thin)
  declare sub setMode(byval md as Pen.Mode)
  declare function current() as Pen.Mode
  declare function width_(byval extra as integer = Pen.WIDE) as integer
  declare sub swapWith(byref other as Pen.Mode)
  declare function pick(byval a as Pen.Mode, byval b as Pen.Mode) as Pen.Mode
end type
constructor Pen(byval start as Pen.Mode = Pen.Thin)
  m = start
end constructor
sub Pen.setMode(byval md as Pen.Mode)
  m = md
end sub
function Pen.current() as Pen.Mode
  function = m
end function
function Pen.width_(byval extra as integer = Pen.WIDE) as integer
  return m * 10 + extra
end function
sub Pen.swapWith(byref other as Pen.Mode)
  dim old as Pen.Mode = m
  m = other
  other = old
end sub
function Pen.pick( _
    byval a as Pen.Mode, _
    byval b as Pen.Mode) as Pen.Mode
  return iif(m = Pen.Bold, a, b)
end function
type Marker extends Pen
  ink as string
end type
dim k as Marker
print k.current(); k.width_()
k.setMode(Pen.Bold)
dim o as Pen.Mode = Pen.Thin
k.swapWith(o)
print k.current(); o; k.width_(1); k.pick(Pen.Thin, Pen.Bold)
