' A pool of slots reached through pointers to its element type, used with
' types that FreeBASIC cannot follow with "ptr" as they are written: a
' procedure type, which would take the "ptr" into its result, and a
' fixed-length string, which refuses it.
template Pool
  slots as t1 ptr
  table as t1 ptr ptr
  n as integer
  declare constructor(byval n as integer)
  declare destructor()
  declare function at(byval i as integer) as t1 pointer
  declare function width() as integer
end template

constructor Pool(byval n as integer)
  this.n = n
  slots = new t1[n]
  table = new t1 ptr[n]
  for i as integer = 0 to n - 1
    table[n - 1 - i] = @slots[i]
  next
end constructor

destructor Pool()
  delete[] table
  delete[] slots
end destructor

function Pool.at(byval i as integer) as t1 pointer
  return table[i]
end function

function Pool.width() as integer
  return sizeof(t1)
end function

template Ref
  target as t1 ptr
  declare function width() as integer
  declare function view() as t1 const ptr
end template

function Ref.width() as integer
  return sizeof(t1)
end function

function Ref.view() as t1 const ptr
  return target
end function

' Nodes and their list point at each other; the list's own "t1 ptr" does
' not change the instances it uses.
template Node
  value as t1
  owner as List<<<t1>>> ptr
  nxt as Node<<<t1>>> ptr
end template

template List
  head as Node<<<t1>>> ptr
  newest as t1 ptr
  declare sub add(byval v as t1)
  declare destructor()
end template

sub List.add(byval v as t1)
  dim n as Node<<<t1>>> ptr = new Node<<<t1>>>
  n->value = v : n->owner = @this : n->nxt = head
  head = n
  newest = @n->value
end sub

destructor List()
  while head
    dim n as Node<<<t1>>> ptr = head->nxt
    delete head
    head = n
  wend
end destructor

function twice(byval n as long) as long
  return n * 2
end function

function square(byval n as long) as long
  return n * n
end function

sub hello(byval n as integer)
  print "hello"; n
end sub

dim fns as Pool<<<function(byval n as long) as long>>> = 2
*(fns.at(0)) = @twice
*(fns.at(1)) = @square
print fns.slots[1](21); fns.slots[0](5); fns.width()

dim subs as Pool<<<Sub(ByVal n As Integer)>>> = 1
*(subs.at(0)) = @hello
subs.slots[0](7)

dim word as zstring * 16 = "fixed"
dim r as Ref<<<zstring * 16>>>
r.target = @word
*r.target &= " + ptr"
print *r.view(); r.width()

dim nums as Pool<<<double>>> = 2
*(nums.at(1)) = cast(double, 7) / 2
print nums.slots[0]; nums.width()

dim steps as List<<<function(byval n as long) as long>>>
steps.add(@twice) : steps.add(@square)
dim f as function(byval n as long) as long = *steps.newest
print f(9); steps.head->nxt->value(9); steps.head->owner = @steps
