' a pool of values, each aged by a tick
template Pool
  slots as t1 ptr
  count as integer
  declare constructor(byval n as integer)
  declare destructor()
  declare sub tick()
  declare sub heal(byval k as integer)
end template

constructor Pool(byval n as integer)
  slots = new t1[n]
  count = n
end constructor

destructor Pool()
  delete[] slots
end destructor

sub Pool.tick()
  for i as integer = 0 to count - 1
    slots[i].age += 1
  next
end sub

sub Pool.heal(byval k as integer)
  with slots[k]
    .hp += 10
  end with
end sub
