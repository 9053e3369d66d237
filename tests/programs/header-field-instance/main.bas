' A player with a stack of scores, and the program's own stack of the same
' type for the rounds still to be played.

#include once "scoreboard.bi"

Dim rounds As Stack<<<integer>>>
rounds.push(3) : rounds.push(2) : rounds.push(1)

Dim ada As Player
ada.name = "Ada"
Do Until rounds.isEmpty()
  Dim r As Integer = rounds.pop()
  ada.record(r * 10 + 7)
  Print "round"; r; ": "; ada.name; " scores"; r * 10 + 7
Loop
Print ada.name; "'s best:"; ada.best(); " of"; ada.scores.count; " rounds"
