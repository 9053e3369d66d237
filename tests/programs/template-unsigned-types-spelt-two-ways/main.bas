' Meters declared with "unsigned long" and "unsigned byte", passed to
' procedures that write "ulong" and "ubyte": FreeBASIC reads both spellings as
' one type, so each pair is one instance.
#include once "meter.bi"

sub report(byref m as Meter<<<ulong>>>)
  print m.total; " "; m.peak
end sub

function loudest(byref m as Meter<<<UByte>>>) as integer
  return m.peak
end function

dim bytes as Meter<<<unsigned long>>>
bytes.add(3000000000)
bytes.add(1000000000)
report(bytes)

dim levels as Meter<<<Unsigned  Byte>>>
levels.add(200)
levels.add(55)
print loudest(levels); " "; levels.total

dim copy as Meter<<<ulong>>> = bytes
print copy.total = bytes.total
