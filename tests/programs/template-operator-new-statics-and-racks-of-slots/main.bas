' A generic pool: static counters, operator new/delete inside the template,
' members calling procedures declared later, with blocks, arrays of instances.

declare function describe_later(byval n as integer) as string

template Slot
  value as t1
  serial as integer
  static live as integer
  static total as integer
  declare constructor()
  declare constructor(byval v as t1, byval s as integer = -1)
  declare destructor()
  declare operator new(byval size as uinteger) as any ptr
  declare operator delete(byval p as any ptr)
  declare const function show() as string
  declare function note() as string
end template

dim Slot.live as integer
dim Slot.total as integer

constructor Slot()
  this.serial = 0
  live += 1
  total += 1
end constructor

constructor Slot(byval v as t1, byval s as integer = -1)
  value = v
  this.serial = s
  Slot.live += 1
  total += 1
end constructor

destructor Slot()
  live -= 1
end destructor

operator Slot.new(byval size as uinteger) as any ptr
  print "  [new "; size; "]"
  return callocate(size)
end operator

operator Slot.delete(byval p as any ptr)
  print "  [delete]"
  deallocate(p)
end operator

const function Slot.show() as string
  return "(" & value & " #" & serial & ")"
end function

function Slot.note() as string
  with this
    return describe_later(.serial) & " " & .show()
  end with
end function

template Rack
  slots(any) as Slot<<<t1>>>
  declare sub add(byval v as t1)
  declare function count() as integer
end template

sub Rack.add(byval v as t1)
  dim n as integer = count()
  redim preserve slots(0 to n)
  slots(n).value = v
  slots(n).serial = n + 1
end sub

function Rack.count() as integer
  return ubound(slots) - lbound(slots) + 1
end function

function describe_later(byval n as integer) as string
  if n < 0 then return "loose"
  return "slot" & n
end function

scope
  dim a as Slot<<<integer>>> = Slot<<<integer>>>(5, 2)
  dim b as Slot<<<integer>>> = Slot<<<integer>>>(9)
  print a.note(), b.note()
  print "live"; Slot<<<integer>>>.live
end scope
print "live after scope"; Slot<<<integer>>>.live; " total"; Slot<<<integer>>>.total

dim p as Slot<<<string>>> ptr = new Slot<<<string>>>("heap", 4)
print p->note()
print "string live"; Slot<<<string>>>.live
delete p
print "string live"; Slot<<<string>>>.live

dim r as Rack<<<double>>>
r.add(1.5)
r.add(2.25)
r.add(-3)
for i as integer = 0 to r.count() - 1
  print r.slots(i).note()
next
print "double live"; Slot<<<double>>>.live
redim preserve r.slots(0 to 1)
print "count"; r.count(); " double live"; Slot<<<double>>>.live
dim cp as typeof(r.slots(0))
print sizeof(cp) = sizeof(Slot<<<double>>>), cp.show()
