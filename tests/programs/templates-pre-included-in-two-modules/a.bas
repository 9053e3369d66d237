' a.bas: the main module. It includes inventory.bi twice without once;
' the header's own guard keeps one copy.
#include "inventory.bi"
#include "inventory.bi"

declare function topScores() as ScoreList
declare function stock() as Inventory<<<integer>>>

dim s as ScoreList = topScores()
for i as integer = 0 to s.count - 1
  print s.at(i).key; s.at(i).value
next

dim inv as Inventory<<<integer>>> = stock()
inv.put("plums", 5)
print inv.total()
dim l as List<<<Pair<<<string, integer>>>>>> = inv.asList()
print l.count; " "; l.at(2).key

dim d as Inventory<<<double>>>
d.put("milk", 1.5)
d.put("tea", 0.25)
print d.total()
