template Cell
  value as t1
  count as integer
end template
