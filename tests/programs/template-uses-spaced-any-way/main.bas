' The same instance spelt with the spacing each writer prefers: the header
' writes "string, integer", the code below "String,Integer" and
' "string ,  integer"; all of them are one type.
#include once "dict.bi"

sub countWords(byref d as Dict<<<String,Integer>>>, byref s as string)
  dim w as string
  for i as integer = 1 to len(s) + 1
    dim c as string = mid(s, i, 1)
    if c = " " orelse c = "" then
      if w <> "" then d.put(w, d.get(w, 0) + 1)
      w = ""
    else
      w &= c
    end if
  next
end sub

function tag(byref l as Label<<<ZString*8>>>) as string
  return l.shown()
end function

dim words as Dict<<< string ,  integer >>>
countWords(words, "to be or not to be")
print words.count; words.get("to", 0); words.get("be", 0); words.get("xyz", -1)

dim copy as Dict<<<string,integer>>> = words
copy.put("or", 7)
print copy.get("or", 0); words.get("or", 0)

dim l as Label<<<zstring *8>>>
l.text = "fbext"
print tag(l)
