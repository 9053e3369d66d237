' Macros defined in template bodies (#define, #macro) hold, in each
' instance and its members, that instance's types; so do those of
' templates whose instances point at each other.
template Cell
  #define CELL_BYTES sizeof(t1)
  #macro CELL_SHOW(label)
    print label; CELL_BYTES
  #endmacro
  v as t1
  declare sub show()
end template

sub Cell.show()
  CELL_SHOW("bytes:")
  print "value:"; v
end sub

template Node
  #define NODE_BYTES sizeof(t1)
  owner as List<<<t1>>> ptr
  v as t1
  declare function bytes() as integer
end template
template List
  #define LIST_BYTES (sizeof(t1) * 2)
  first as Node<<<t1>>> ptr
  declare function bytes() as integer
end template
function Node.bytes() as integer
  return NODE_BYTES
end function
function List.bytes() as integer
  return first->bytes() + NODE_BYTES + LIST_BYTES
end function

dim a as Cell<<<integer>>>
dim b as Cell<<<short>>>
a.v = 70000
b.v = 300
a.show()
b.show()
print sizeof(a); sizeof(b)

dim nl as Node<<<long>>>
dim l as List<<<long>>>
dim ns as Node<<<short>>>
dim s as List<<<short>>>
l.first = @nl : nl.owner = @l
s.first = @ns : ns.owner = @s
print nl.bytes(); l.bytes(); ns.bytes(); s.bytes()
