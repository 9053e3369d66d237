' A traffic light family whose inherited enum fields step on by numbers.
enum Color
  Red
  Amber
  Green
end enum

type Light
  enum Mode
    Off
    Blinking
    Steady
  end enum
  shows as Color = Red
  mode_ as Mode
  history(0 to 2) as Color
  declare sub advance()
end type

sub Light.advance()
  shows = (shows + 1) mod 3
end sub

type Crossing extends Light
  name as string
  declare sub cycle()
end type

sub Crossing.cycle()
  advance()
  history(0) = shows
  mode_ += 1
end sub

dim c as Crossing
c.cycle()
c.shows = c.shows + 1
c.shows -= 2
c.mode_ = c.mode_ + 1
c.history(1) = Green
c.history(2) = c.history(1) - 1
c.history(2) += 0
with c
  .mode_ -= 1
end with
print c.shows; c.mode_; c.history(0); c.history(1); c.history(2)
select case c.shows
case Red : print "stop"
case Amber : print "wait"
case Green : print "go"
end select
if c.mode_ = Light.Mode.Blinking then print "blinking"
swap c.shows, c.history(1)
print c.shows; c.history(1)
