' Templates kept in namespaces, used with the namespace in front. Their
' members read the names of their namespace without it, as in any type
' declared there.
namespace Coll
  const CAPACITY = 4

  function clampIndex(byval i as integer) as integer
    if i < 0 then return 0
    if i >= CAPACITY then return CAPACITY - 1
    return i
  end function

  template Ring
    items(0 to CAPACITY - 1) as t1
    count as integer
    declare sub put(byval v as t1)
    declare function at(byval i as integer) as t1
  end template

  sub Ring.put(byval v as t1)
    items(count mod CAPACITY) = v
    count += 1
  end sub

  function Ring.at(byval i as integer) as t1
    return items(clampIndex(i))
  end function
end namespace

namespace Geo.Shapes
  template Pair
    first as t1
    second as t2
    declare function describe() as string
  end template

  function Pair.describe() as string
    return "(" & first & ", " & second & ")"
  end function
end namespace

dim r as Coll.Ring<<<string>>>
for i as integer = 1 to 6
  r.put("item" & i)
next
print r.count; " "; r.at(0); " "; r.at(9)

dim shared totals as Coll.Ring<<<double>>>
totals.put(1.5)
totals.put(2.25)
print totals.at(0) + totals.at(1)

dim p as Geo.Shapes.Pair<<<integer, string>>>
p.first = 3
p.second = "three"
print p.describe()

sub show(byref ring as Coll.Ring<<<string>>>)
  print "ring of"; ring.count
end sub
show(r)
