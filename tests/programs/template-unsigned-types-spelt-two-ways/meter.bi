' meter.bi: a meter that keeps a running total and its peak; the procedures
' here write the unsigned types with FreeBASIC's short keywords.
template Meter
  total as t1
  peak as t1
  declare sub add(byval v as t1)
end template

sub Meter.add(byval v as t1)
  total += v
  if v > peak then peak = v
end sub

declare sub report(byref m as Meter<<<ulong>>>)
declare function loudest(byref m as Meter<<<UByte>>>) as integer
