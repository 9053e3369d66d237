' Included before every source by -include.
template Pair
  first as t1
  second as t2
end template
