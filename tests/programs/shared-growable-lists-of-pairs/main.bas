' A to-do tracker: a growable list of entries, each entry a generic pair,
' kept in shared variables and touched from several subs.
template Entry
  key as t1
  amount as t2
end template

template Growable
  items(any) as t1
  used as integer
  declare sub append(byref v as t1)
  declare sub clear()
  declare function size() as integer
  declare function last() byref as t1
end template

sub Growable.append(byref v as t1)
  if used > ubound(items) then
    redim preserve items(used * 2 + 1)
  end if
  items(used) = v
  used += 1
end sub

sub Growable.clear()
  erase items
  used = 0
end sub

function Growable.size() as integer
  return used
end function

function Growable.last() byref as t1
  return items(used - 1)
end function

dim shared todo as Growable<<<Entry<<<string, integer>>>>>>
dim shared done as Growable<<<Entry<<<string, integer>>>>>>

sub addTask(byref k as string, byval mins as integer)
  dim e as Entry<<<string, integer>>>
  e.key = k
  e.amount = mins
  todo.append(e)
end sub

sub finishLast()
  done.append(todo.last())
  todo.used -= 1
end sub

function minutes(byref g as Growable<<<Entry<<<string, integer>>>>>>) as integer
  dim t as integer
  for i as integer = 0 to g.size() - 1
    t += g.items(i).amount
  next
  return t
end function

function copyOf(byref g as Growable<<<Entry<<<string, integer>>>>>>) as Growable<<<Entry<<<string, integer>>>>>>
  dim c as Growable<<<Entry<<<string, integer>>>>>>
  for i as integer = 0 to g.size() - 1
    c.append(g.items(i))
  next
  return c
end function

sub listAll(byref title as string, byref g as Growable<<<Entry<<<string, integer>>>>>>)
  print title; g.size(); " /"; ubound(g.items) + 1
  for i as integer = 0 to g.size() - 1
    print "  "; g.items(i).key; g.items(i).amount
  next
end sub

addTask("shop", 30)
addTask("cook", 45)
addTask("wash", 15)
addTask("read", 60)
addTask("walk", 20)
finishLast()
finishLast()
todo.last().amount += 5
listAll("todo", todo)
listAll("done", done)
dim saved as Growable<<<Entry<<<string, integer>>>>>> = copyOf(todo)
todo.clear()
print "cleared"; todo.size(); ubound(todo.items); " saved"; minutes(saved)
swap saved, done
listAll("done now", done)
dim nums as Growable<<<ulongint>>>
for i as integer = 1 to 5
  nums.append(1ull shl (i * 12))
next
print nums.last(); nums.size(); ubound(nums.items)
