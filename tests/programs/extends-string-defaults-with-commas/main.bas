' Default arguments whose strings hold commas, brackets and quotes, on members
' that extending types inherit: from an ordinary parent and from a template
' instance.
template List
  items(any) as t1
  n as integer
  declare sub add(byref v as t1)
  declare function join(byref sep as string = ", ", byref open_ as string = "(") as string
end template

sub List.add(byref v as t1)
  if n > ubound(items) then redim preserve items(n * 2 + 1)
  items(n) = v
  n += 1
end sub

function List.join(byref sep as string = ", ", byref open_ as string = "(") as string
  dim s as string = open_
  for i as integer = 0 to n - 1
    s &= iif(i, sep, "") & items(i)
  next
  return s & iif(open_ = "(", ")", "")
end function

type Roster extends List<<<string>>>
  club as string
end type

type Words
  text as string
  declare function quoted(byref q as string = """(,""", byval times as integer = 1) as string
  declare function wrapped(byref pre as string = !"\", ", byref post as string = ")") as string
  declare function pathTo(byref root as string = "c:\", byref leaf as string = "x") as string
end type

function Words.quoted(byref q as string = """(,""", byval times as integer = 1) as string
  dim s as string = text
  for i as integer = 1 to times
    s = q & s & q
  next
  return s
end function

function Words.wrapped(byref pre as string = !"\", ", byref post as string = ")") as string
  return pre & text & post
end function

function Words.pathTo(byref root as string = "c:\", byref leaf as string = "x") as string
  return root & text & "\" & leaf
end function

type Sentence extends Words
  count as integer
end type

type Shout extends Sentence
  declare function wrapped(byref pre as string = "!, ", byref post as string = "!") as string
end type

function Shout.wrapped(byref pre as string = "!, ", byref post as string = "!") as string
  return parent.wrapped(pre, post) & parent.wrapped()
end function

dim r as Roster
r.club = "Reds"
r.add("Ann") : r.add("Bo") : r.add("Cy")
print r.join(); " "; r.join(" / "); " "; r.join("-", "[")

dim s as Sentence
s.text = "hi"
print s.quoted(); " "; s.quoted("'", 2)
print s.wrapped(); " "; s.wrapped("<"); " "; s.wrapped("<", ">")
print s.pathTo(); " "; s.pathTo("d:\"); " "; s.pathTo("e:\", "y")

dim sh as Shout
sh.text = "go"
print sh.wrapped(); " "; sh.quoted(, 3)
