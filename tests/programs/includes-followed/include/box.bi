' Found through -i include.
template Box
  value as t1
end template
