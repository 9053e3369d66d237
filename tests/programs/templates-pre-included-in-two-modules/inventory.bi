' inventory.bi: counts of named things, kept in a list of pairs.
#ifndef INVENTORY_BI
#define INVENTORY_BI
#include once "containers.bi"

template Inventory
  entries as List<<<Pair<<<string, t1>>>>>>
  declare sub put(byref what as string, byval n as t1)
  declare function total() as t1
  declare function asList() as List<<<Pair<<<string, t1>>>>>>
end template

sub Inventory.put(byref what as string, byval n as t1)
  entries.add(Pair<<<string, t1>>>(what, n))
end sub

function Inventory.total() as t1
  dim sum as t1
  for i as integer = 0 to entries.count - 1
    sum += entries.at(i).value
  next
  return sum
end function

function Inventory.asList() as List<<<Pair<<<string, t1>>>>>>
  return entries
end function

#endif
