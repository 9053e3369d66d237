' Comments written right after a word, with no blank before them, as the
' compiler allows: the word ends where the comment begins.
template Box' a box of one thing
  item as t1
  declare function get() as t1
  declare sub put(byval v as t1)
end template' Box

function Box.get() as t1' the item
  return item
end function' get

sub Box.put(byval v as t1)/' stores it '/
  item = v
end sub/' put '/

template Pair/' two things '/
  a as t1
  b as t2
end template/' Pair '/

type Node' a tree node, which holds pointers to others of its type
  value as integer
  children as Box<<<Node ptr>>>
end type

dim b as Box<<<integer>>>
b.put(3)
dim p as Pair<<<string, Box<<<double>>>>>>
p.a = "half"
p.b.put(0.5)
print b.get(); " "; p.a; p.b.get()
dim root as Node, leaf as Node
leaf.value = 9
root.children.put(@leaf)
print root.children.get()->value
