template Stack
  items(0 to 7) as t1
  count as integer
  declare sub push(byval v as t1)
end template

sub Stack.push(byval v as t1)
  items(count) = v
  count += 1
end sub
