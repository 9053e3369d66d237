' Static variables in the members of a template whose instance a type
' extends: the instance's values and the extending type's count together.
template Ticket
  id as integer
  owner as t1
  declare sub issue()
#ifndef NO_AUDIT
  declare function audit() as string
#endif
end template
sub Ticket.issue()
  static lastId as integer
  lastId += 1
  id = lastId
end sub
#ifndef NO_AUDIT
function Ticket.audit() as string
  static seen as integer
  static trail as string
  seen += 1
  trail &= str(id)
  return seen & ":" & trail
end function
#endif

type VipTicket extends Ticket<<<string>>>
  lounge as string
end type

dim as Ticket<<<string>>> a, b
dim v as VipTicket
a.issue() : v.issue() : b.issue()
v.owner = "vip" : v.lounge = "east"
print a.id; v.id; b.id; " "; v.owner; " "; v.lounge
print a.audit(); " "; v.audit(); " "; b.audit(); " "; v.audit()
dim n as Ticket<<<integer>>>
n.issue()
print n.id; " "; n.audit()
