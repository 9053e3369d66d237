' b.bas: the module that makes the scores and the stock.
#include once "inventory.bi"

function topScores() as ScoreList
  dim r as ScoreList
  r.add(Score("ann", 30))
  r.add(Score("bob", 12))
  return r
end function

function stock() as Inventory<<<integer>>>
  dim inv as Inventory<<<integer>>>
  inv.put("apples", 3)
  inv.put("pears", 4)
  return inv
end function
