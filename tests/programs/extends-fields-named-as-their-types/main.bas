' Fields named after their own types, as FreeBASIC allows in a type whose
' members do not name those types: a machine with a "state as State", a
' sensor with a "probe as Probe", and types that extend them.
enum State
  idle
  running
  stopped
end enum

type Probe
  note as string
  reads as integer
end type

type Machine
  state as State
  probe as Probe
  spare as Probe
  history(1 to 3) as Probe
  last as Probe ptr
  declare sub start()
end type

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
print p.state; " "; p.probe.note; p.probe.reads; " "; p.spare.note
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
