' An editor's undo history: edits of an extending type, made with new and kept in stacks.

type Edit
  at as integer
  text as string
  declare function describe() as string
  declare sub shift(byval by as integer)
end type

function Edit.describe() as string
  return "@" & at & " '" & text & "'"
end function

sub Edit.shift(byval by as integer)
  at += by
end sub

type Insertion extends Edit
  declare sub apply(byref doc as string)
  declare sub revert(byref doc as string)
end type

sub Insertion.apply(byref doc as string)
  doc = left(doc, at) & text & mid(doc, at + 1)
end sub

sub Insertion.revert(byref doc as string)
  doc = left(doc, at) & mid(doc, at + len(text) + 1)
end sub

' every instance extends its argument with a time stamp
template Stamped extends t1
  stamp as integer
  declare function when() as string
end template

function Stamped.when() as string
  return "t=" & stamp
end function

template History
  items(0 to 9) as t1
  depth as integer
  declare sub push(byval v as t1)
  declare function pop() as t1
  declare function isEmpty() as boolean
end template

sub History.push(byval v as t1)
  items(depth) = v
  depth += 1
end sub

function History.pop() as t1
  depth -= 1
  return items(depth)
end function

function History.isEmpty() as boolean
  return depth = 0
end function

dim doc as string = "hello world"
dim undo as History<<<Insertion ptr>>>
dim redo as History<<<Insertion ptr>>>

dim e as Insertion ptr = new Insertion
e->at = 5 : e->text = ","
e->apply(doc) : undo.push(e)
e = new Insertion
e->at = 12 : e->text = "!"
e->apply(doc) : undo.push(e)
print doc

while not undo.isEmpty()
  dim u as Insertion ptr = undo.pop()
  u->revert(doc)
  print "undo "; u->describe(); " -> "; doc
  redo.push(u)
wend
dim r as Insertion ptr = redo.pop()
r->apply(doc)
print "redo "; r->describe(); " -> "; doc
delete r
delete redo.pop()

' a batch of edits made at once, applied from the back
dim batch as Insertion ptr = new Insertion[3]
dim words(0 to 2) as string = { "big ", "old ", "wide " }
for i as integer = 0 to 2
  batch[i].at = 7
  batch[i].text = words(i)
next
batch[1].shift(-7)
batch[2].at += 6
for i as integer = 2 to 0 step -1
  batch[i].apply(doc)
next
print doc
delete[] batch

dim log_ as History<<<Stamped<<<Edit>>>>>>
dim s as Stamped<<<Edit>>>
for i as integer = 1 to 3
  s.stamp = i * 100
  s.at = i
  s.text = "edit" & i
  log_.push(s)
next
while not log_.isEmpty()
  dim x as Stamped<<<Edit>>> = log_.pop()
  x.shift(10)
  print x.when(); " "; x.describe()
wend
