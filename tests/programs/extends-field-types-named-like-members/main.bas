' Fields and members named after the types of fields, as FreeBASIC allows
' in a type whose members do not name those types: a machine with a "state
' as State", a "probe as Probe" and a function "spot()" beside a "pos as
' Spot", and types that extend it.
enum State
  idle
  running
  stopped
end enum

type Probe
  note as string
  reads as integer
end type

type Spot
  x as integer
  y as integer
end type

type Machine
  pos as Spot
  state as State
  probe as Probe
  spare as Probe
  history(1 to 3) as Probe
  last as Probe ptr
  declare sub start()
  declare function spot() as integer
end type

function Machine.spot() as integer
  return pos.x * 100 + pos.y
end function

sub Machine.start()
  state = running
  probe.reads += 1
  last = @probe
end sub

type Pump extends Machine
  litres as integer
end type

type BigPump extends Pump
  declare sub report()
end type

sub BigPump.report()
  print "state"; state; ", probe "; probe.note; probe.reads; ", spare "; spare.note
end sub

dim p as Pump
p.probe.note = "inlet"
p.start()
p.spare = p.probe
p.spare.note = "spare"
p.history(2) = p.probe
p.history(2).reads += 10
p.pos.x = 3
p.pos.y = 4
print p.spot(); p.state; " "; p.probe.note; p.probe.reads; " "; p.spare.note
print p.history(2).note; p.history(2).reads; " "; p.last->note
p.state = stopped
print p.parent.state

dim b as BigPump
b.probe.note = "outlet"
b.start()
b.start()
b.spare.note = "none"
b.report()
if b.state = running then print "running"
