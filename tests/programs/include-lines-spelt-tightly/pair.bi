'pair.bi: two values side by side.
template Pair
  first as t1
  second as t2
end template
