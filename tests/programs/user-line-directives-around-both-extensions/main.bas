' The program's own #line directives renumber the lines after them: what
' __LINE__ and __FILE__ say in template members, in the members an extending
' type inherits and in the rest of the file follows them, wherever fbext
' moves those lines.
#line 100
template Box
  v as t1
  declare sub show()
end template
sub Box.show()
  print "Box.show"; __LINE__; " "; __FILE__; v
end sub
type Child extends Parent
  y as integer
end type
type Parent
  x as integer
  declare sub where_()
end type
sub Parent.where_()
  print "Parent.where_"; __LINE__; " "; __FILE__; x
end sub
#line 500 "virtual.bas"
template Pair
  a as t1
  declare sub show()
end template
sub Pair.show()
  print "Pair.show"; __LINE__; " "; __FILE__; a
end sub
dim k as Child
k.x = 1
k.where_()
dim b as Box<<<integer>>>
b.v = 2
b.show()
#line 900
dim p as Pair<<<double>>>
p.a = 3.5
p.show()
print "main"; __LINE__; " "; __FILE__
