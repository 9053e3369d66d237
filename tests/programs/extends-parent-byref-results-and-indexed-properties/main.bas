' A parent with byref results, indexed properties and operators, reached on
' an extending type: writes through the references must land in the parent part.

type Grid
  cells(0 to 5) as integer
  size_ as integer = 6
  declare function at(byval i as integer) byref as integer
  declare const function peek(byval i as integer) as integer
  declare property item(byval i as integer) as integer
  declare property item(byval i as integer, byval v as integer)
  declare property size() as integer
  declare function biggest() byref as integer
  declare operator [](byval i as integer) byref as integer
end type

function Grid.at(byval i as integer) byref as integer
  return cells(i)
end function

const function Grid.peek(byval i as integer) as integer
  return cells(i)
end function

property Grid.item(byval i as integer) as integer
  return cells(i) * 10
end property

property Grid.item(byval i as integer, byval v as integer)
  cells(i) = v \ 10
end property

property Grid.size() as integer
  return size_
end property

function Grid.biggest() byref as integer
  dim best as integer = 0
  for i as integer = 1 to size_ - 1
    if cells(i) > cells(best) then best = i
  next
  return cells(best)
end function

operator Grid.[](byval i as integer) byref as integer
  return cells(i)
end operator

type Board extends Grid
  title as string
  declare sub show()
  declare sub double_all()
end type

sub Board.show()
  print title; ":";
  for i as integer = 0 to size - 1
    print peek(i);
  next
  print
end sub

sub Board.double_all()
  for i as integer = 0 to size - 1
    at(i) => at(i) * 2
  next
end sub

dim b as Board
b.title = "b"
b.at(0) => 4
b.at(3) => 9
b.show()
b.at(1) += 2
b.item(2) = 70
print b.item(2), b.peek(2)
b.biggest() = -1
b.show()
b.double_all()
b.show()
b.parent[5] = 11
print b.parent[5], b.at(5)
b.cells(4) = 3
b.show()
dim pb as Board ptr = @b
pb->at(0) => 100
pb->item(1) = 500
pb->show()
print "size"; b.size
