' A generic tree whose children are a generic list of pointers to trees of
' the same type, and whose members reach through them.
template List
  items(any) as t1
  count as integer
  declare sub add(byval v as t1)
  declare function at(byval i as integer) as t1
end template

sub List.add(byval v as t1)
  redim preserve items(count)
  items(count) = v
  count += 1
end sub

function List.at(byval i as integer) as t1
  return items(i)
end function

template Tree
  value as t1
  children as List<<<Tree<<<t1>>> ptr>>>
  declare function total() as t1
  declare sub grow(byval v as t1)
end template

function Tree.total() as t1
  dim s as t1 = value
  for i as integer = 0 to children.count - 1
    s += children.at(i)->total()
  next
  return s
end function

sub Tree.grow(byval v as t1)
  dim child as Tree ptr = new Tree
  child->value = v
  children.add(child)
end sub

dim t as Tree<<<integer>>>
t.value = 1
t.grow(2)
t.grow(3)
t.children.at(0)->grow(4)
print t.total(); t.children.count; t.children.at(0)->children.count

dim d as Tree<<<double>>>
d.value = 0.5
d.grow(0.25)
print d.total()
