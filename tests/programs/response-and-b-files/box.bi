template Box
  value as t1
end template
declare function boxed(byval v as integer) as integer
