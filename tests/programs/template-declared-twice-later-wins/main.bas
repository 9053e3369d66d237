' The same template declared twice, under the same conditions: the later
' declaration is the one its uses are made from.
template Buf
  items(0 to 1) as t1
end template

template Buf
  items(0 to 4) as t1
end template

dim b as Buf<<<integer>>>
print ubound(b.items)
