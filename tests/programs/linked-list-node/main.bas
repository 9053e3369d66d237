' A linked list whose node points at a node of its own type.

template Node
  value as t1
  next as Node<<<t1>>> ptr
end template

template List
  head as Node<<<t1>>> ptr
  size as integer
  declare sub prepend(byval v as t1)
  declare sub show()
  declare destructor()
end template

sub List.prepend(byval v as t1)
  dim n as Node<<<t1>>> ptr = new Node<<<t1>>>
  n->value = v
  n->next = head
  head = n
  size += 1
end sub

sub List.show()
  dim n as Node<<<t1>>> ptr = head
  while n
    print n->value;
    n = n->next
  wend
  print
end sub

destructor List()
  while head
    dim n as Node<<<t1>>> ptr = head->next
    delete head
    head = n
  wend
end destructor

dim l as List<<<integer>>>
l.prepend(3) : l.prepend(2) : l.prepend(1)
l.show()
print "size"; l.size
