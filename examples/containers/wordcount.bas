' wordcount.bas: counts the words of a text, listing them in the order in
' which they first occur.
'   fbc wordcount.bas

#include once "containers.bi"

dim text as string = "the quick fox and the lazy dog and the end"
dim order as List<<<string>>>
dim counts as Map<<<string, integer>>>
dim word as string

for i as integer = 1 to len(text) + 1
  dim c as string = mid(text, i, 1)
  if c = " " or c = "" then
    if word <> "" then
      if not counts.contains(word) then order.append(word)
      counts.assign(word, counts.lookup(word) + 1)
    end if
    word = ""
  else
    word &= c
  end if
next

for i as integer = 0 to order.length - 1
  print order.item(i); ": "; counts.lookup(order.item(i))
next
