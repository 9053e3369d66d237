' range.bi: a range of values that for ... next walks, and a tally.
template Range
  first as t1
  last as t1
  cur as t1
  declare constructor()
  declare constructor(byval a as t1, byval b as t1)
  declare operator for()
  declare operator step()
  declare operator next(byref e as Range) as integer
  declare operator cast() as string
end template

constructor Range()
end constructor

constructor Range(byval a as t1, byval b as t1)
  first = a : last = b : cur = a
end constructor

operator Range.for()
  cur = first
end operator

operator Range.step()
  cur += 1
end operator

operator Range.next(byref e as Range) as integer
  return cur <= e.last
end operator

operator Range.cast() as string
  return str(first) & ".." & str(last)
end operator

template Tally
  hits as t1
  misses as t1
end template

common shared tally as Tally<<<ulong>>>
declare function widen(byref r as Range<<<long>>>, byval by as long) as Range<<<long>>>
declare function total(byval r as Range<<<long>>>) as longint
