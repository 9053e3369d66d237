' The template's own name as a whole name wherever it stands.

template Pair
  a as t1
  b as t1
  declare operator +=(byref other as Pair)
  declare function swapped() as Pair
end template

operator Pair.+=(byref other as Pair)
  a += other.a
  b += other.b
end operator

function Pair.swapped() as Pair
  dim result as Pair=this
  swap result.a, result.b
  return result
end function

template Vec
  x as t1
  y as t1
  declare function doubled() as Vec
end template

function Vec.doubled() as Vec
  dim v as Vec
  v.x = x * 2 : v.y = y * 2
  return v
end function

dim p as Pair<<<integer>>>
p.a = 1 : p.b = 2
dim q as Pair<<<integer>>>
q.a = 10 : q.b = 20
p += q
print p.a; p.b; p.swapped().a
print "Pair is a word here"

dim v as Vec<<<double>>>
v.x = 1.5 : v.y = 2
print v.doubled().x; v.doubled().y
