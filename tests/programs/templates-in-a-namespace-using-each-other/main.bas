' Templates kept in a namespace that use each other: each instance stands in
' the namespace, so its members read the namespace's names, and a use inside
' and one outside the namespace name one instance.
#include "links.bi"

namespace Coll
  const CAP = 4

  function wrapIndex(byval i as integer) as integer
    return i mod CAP
  end function

  template List
    items(0 to CAP - 1) as t1
    count as integer
    declare sub add(byref v as t1)
    declare function at(byval i as integer) as t1
  end template

  sub List.add(byref v as t1)
    items(wrapIndex(count)) = v
    count += 1
  end sub

  function List.at(byval i as integer) as t1
    return items(wrapIndex(i))
  end function

  template Map
    keys as List<<<t1>>>
    values as List<<<t2>>>
    declare sub put(byref k as t1, byref v as t2)
    declare function find(byref k as t1) as t2
  end template

  sub Map.put(byref k as t1, byref v as t2)
    keys.add(k)
    values.add(v)
  end sub

  function Map.find(byref k as t1) as t2
    for i as integer = 0 to CAP - 1
      if keys.at(i) = k then return values.at(i)
    next
    return values.at(CAP)
  end function

  ' Used inside the namespace, by its plain name and with the namespace.
  dim shared recent as List<<<integer>>>
  dim shared scores as Coll.List<<<double>>>

  sub remember(byval n as integer)
    recent.add(n)
  end sub
end namespace

namespace Geo
  namespace Shapes
    const SIDES = 3

    template Poly
      corner(1 to SIDES) as t1
      declare function total() as t1
    end template

    function Poly.total() as t1
      dim s as t1
      for i as integer = 1 to SIDES
        s += corner(i)
      next
      return s
    end function

    template Mesh
      faces as Poly<<<t1>>>
      declare function area() as t1
    end template

    function Mesh.area() as t1
      return faces.total() * SIDES
    end function
  end namespace
end namespace

dim m as Coll.Map<<<string, integer>>>
m.put("one", 1)
m.put("two", 2)
m.put("six", 6)
print m.find("two"); m.find("six"); m.keys.count

' The same instance as the one used inside the namespace.
dim r as Coll.List<<<integer>>>
Coll.remember(7)
Coll.remember(8)
r = Coll.recent
r.add(9)
print r.count; r.at(0); r.at(2); Coll.recent.count

Coll.scores.add(1.5)
dim d as Coll.List<<<double>>>
d.add(2.25)
print Coll.scores.at(0) + d.at(0)

dim mesh as Geo.Shapes.Mesh<<<integer>>>
mesh.faces.corner(1) = 2
mesh.faces.corner(2) = 3
mesh.faces.corner(3) = 4
print mesh.area()

' The header's templates, used in a block of their namespace and outside it.
namespace Links
  sub fill(byref c as Chain<<<integer>>>)
    for i as integer = 1 to 5
      c.push(i * 10)
    next
  end sub
end namespace

dim c as Links.Chain<<<integer>>>
Links.fill(c)
print c.count; c.head->value; c.head->owner = @c
