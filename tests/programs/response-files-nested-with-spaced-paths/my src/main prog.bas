#include once "list.bi"

dim words as List<<<string>>>
words.add("response")
words.add("files")
dim sizes as List<<<integer>>>
for i as integer = 0 to words.count - 1
  sizes.add(len(words.items(i)))
next
print words.count; sizes.items(0); sizes.items(1)
