' A template whose members are written as FreeBASIC allows any type's
' members to be written: a static function, const members, a byref result,
' a member with its own linkage, and a default argument on a line continued
' with " _". Each is generated with the instance.

template Stack
  items(0 to 15) as t1
  count as integer
  declare sub push(byval v as t1)
  declare function pop() as t1
  declare function top() byref as t1
  declare static function capacity() as integer
  declare const function size() as integer
  declare const sub show()
  declare sub pushMany(byval v as t1, _
                       byval times as integer = 2)
end template

sub Stack.push(byval v as t1)
  items(count) = v
  count += 1
end sub

Public Function Stack.pop() as t1
  count -= 1
  return items(count)
end function

function Stack.top() byref as t1
  return items(count - 1)
end function

Static Function Stack.capacity() as integer
  return 16
end function

const function Stack.size() as integer
  return count
end function

private const sub Stack.show()
  for i as integer = 0 to count - 1
    print items(i);
  next
  print
end sub

sub Stack.pushMany(byval v as t1, _
                   byval times as integer = 2)
  for i as integer = 1 to times
    push(v)
  next
end sub

dim s as Stack<<<integer>>>
s.push(4)
s.pushMany(7)
s.pushMany(9, 3)
s.top() = 11
s.show()
print s.size(); Stack<<<integer>>>.capacity(); s.pop(); s.pop()

dim names as Stack<<<string>>>
names.pushMany("ho", 3)
print names.size(); " "; names.pop() & names.pop() & names.pop()
