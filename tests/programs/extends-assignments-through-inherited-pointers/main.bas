' Assignments through pointer fields that a type inherits: the counters
' live outside the records, which point at them.
type Meter
  total as integer ptr
  last as string ptr
  slots(1 to 2) as integer ptr
  declare sub report()
end type

sub Meter.report()
  print *last; ":"; *total; *slots(1); *slots(2)
end sub

type GasMeter extends Meter
  unit as string
  declare sub reset()
end type

sub GasMeter.reset()
  *this.total = 0
  *this.last = "reset"
end sub

dim shared as integer counter, lefts, rights
dim shared as string note

dim g as GasMeter
g.total = @counter
g.last = @note
g.slots(1) = @lefts
g.slots(2) = @rights
*g.total = 10
*g.total += 5
*g.last = "first"
*g.slots(1) = 7
*g.slots(2) -= 1
g.report()

dim meters(1 to 2) as GasMeter
for i as integer = 1 to 2
  meters(i).total = @counter
  meters(i).last = @note
  meters(i).slots(1) = @lefts
  meters(i).slots(2) = @rights
next
*meters(2).total *= 2 : *meters(1).last &= " and second"
with meters(1)
  *.slots(2) = 3
end with
dim p as GasMeter ptr = @meters(2)
if counter > 20 then *p->total = 100 else *p->total = 1
p->report()
g.reset()
g.report()
print counter; lefts; rights; " "; note
