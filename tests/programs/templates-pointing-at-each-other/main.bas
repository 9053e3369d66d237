' Nodes that point at their list and a list that points at its nodes: the
' header makes its instances list first, this file node first.
#include once "lists.bi"

dim found as Node<<<string>>> ptr
dim words as List<<<string>>>
words.push("red") : words.push("green") : words.push("blue")
found = words.find("green")
print found->value; found->position(); found->owner->count
found->detach()
print words.count; words.head->nxt->value; words.find("blue")->position()

dim top as Node<<<integer>>> ptr
dim s as Scores
s.push(10) : s.push(20)
top = s.find(20)
print top->position(); top->owner = @s
dim more as List<<<integer>>>
more.push(30)
print more.head->owner->count + s.count

' A type that extends one of them gets its members as from any instance,
' here from one made node first.
dim probe as Node<<<double>>> ptr
type Readings extends List<<<double>>>
  unit as string
end type

dim r as Readings
r.unit = "cm"
r.push(1.5) : r.push(2.5)
probe = r.find(2.5)
print r.count; probe->position(); r.find(1.5)->value; r.unit
