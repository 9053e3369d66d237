' A tree whose nodes keep their children in a generic list of pointers to
' their own type, declared inside the type's own block.
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

' A template built on another one, used with the same kind of argument,
' whose member reaches through the pointers it holds.
template Bag
  inner as List<<<t1>>>
  declare function size() as integer
  declare function labels() as string
end template

function Bag.size() as integer
  return inner.count
end function

function Bag.labels() as string
  dim s as string
  for i as integer = 0 to inner.count - 1
    s &= inner.at(i)->label & " "
  next
  return s
end function

type Node
  label as string
  children as List<<<Node ptr>>>
  friends as Bag<<<NODE Ptr>>>
  declare sub show(byval depth as integer)
end type

sub Node.show(byval depth as integer)
  print space(depth * 2); label; " ("; friends.size(); " friends)"
  for i as integer = 0 to children.count - 1
    children.at(i)->show(depth + 1)
  next
end sub

' The same instance used outside the block, where Node is known.
function firstChild(byref n as Node) as Node ptr
  dim kids as List<<<Node ptr>>> = n.children
  return kids.at(0)
end function

dim as Node root, a, b, c
root.label = "root" : a.label = "a" : b.label = "b" : c.label = "c"
root.children.add(@a)
root.children.add(@b)
a.children.add(@c)
b.friends.inner.add(@a)
b.friends.inner.add(@c)
root.show(0)
print firstChild(root)->label
print b.friends.labels()
