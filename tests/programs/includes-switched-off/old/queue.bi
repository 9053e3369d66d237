' The first try at a queue, left half-way when the stack replaced it.
template Queue
  items(0 to 7) as t1
  declare sub push(byval v as t1)

sub Queue.push(byval v as t1)
