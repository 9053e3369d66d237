' A belt extends the header's chain instance in a module of its own.
type Belt extends Chain<<<integer>>>
  name as string
end type
sub otherModule()
  dim bt as Belt
  dim as Link<<<integer>>> x, y
  x.value = 2 : y.value = 3
  bt.name = "belt"
  bt.push(@x) : bt.push(@y)
  bt.size += 10
  print bt.name; bt.sum(); bt.size; x.index(); y.index()
end sub
