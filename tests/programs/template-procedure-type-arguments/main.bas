' Procedure types as type arguments: handlers kept in lists, one taking two
' parameters, whose commas belong to the type and not to the argument list.
#include once "events.bi"

sub onClick(byval code as integer)
  print "click"; code
end sub

sub onKey(byval code as integer)
  print "key"; code * 10
end sub

function add2(byval a as long, byval b as long) as long
  return a + b
end function

function mul2(byval a as long, byval b as long) as long
  return a * b
end function

sub fire(byref handlers as List<<<Sub (ByVal code As Integer)>>>, byval code as integer)
  for i as integer = 0 to handlers.count - 1
    handlers.items(i)(code)
  next
end sub

dim handlers as List<<<sub(byval code as integer)>>>
handlers.add(@onClick)
handlers.add(@onKey)
fire(handlers, 3)

dim ops as List<<<Named<<<function(byval a as long, byval b as long) as long>>>>>>
dim op as Named<<<function(byval a as long, byval b as long) as long>>>
op.name = "add" : op.fn = @add2 : ops.add(op)
op.name = "mul" : op.fn = @mul2 : ops.add(op)
for i as integer = 0 to ops.count - 1
  print ops.items(i).name; ops.items(i).fn(6, 7)
next
