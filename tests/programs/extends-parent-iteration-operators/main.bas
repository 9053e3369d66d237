' A parent with operator let, two casts, global + and =, the iteration
' operators for/step/next (which take the parent's own type) and a member
' indexing a pointer field; the child reaches them through its parent part.

type Vec
  x as integer
  y as integer
  data_ as integer ptr
  declare constructor()
  declare constructor(byval ax as integer, byval ay as integer)
  declare operator let(byval v as integer)
  declare operator cast() as string
  declare operator cast() as integer
  declare operator for()
  declare operator step()
  declare operator next(byref e as Vec) as integer
  declare operator for(byref s as Vec)
  declare operator step(byref s as Vec)
  declare operator next(byref e as Vec, byref s as Vec) as integer
  declare function at(byval i as integer) as integer
end type
dim shared buf(0 to 4) as integer = {10, 20, 30, 40, 50}
constructor Vec()
  data_ = @buf(0)
end constructor
constructor Vec(byval ax as integer, byval ay as integer)
  x = ax : y = ay
  data_ = @buf(0)
end constructor
operator Vec.let(byval v as integer)
  x = v : y = v
end operator
operator Vec.cast() as string
  return "(" & x & "," & y & ")"
end operator
operator Vec.cast() as integer
  return x + y
end operator
operator Vec.for()
end operator
operator Vec.step()
  x += 1
end operator
operator Vec.next(byref e as Vec) as integer
  return x <= e.x
end operator
operator Vec.for(byref s as Vec)
end operator
operator Vec.step(byref s as Vec)
  x += s.x
end operator
operator Vec.next(byref e as Vec, byref s as Vec) as integer
  return x <= e.x
end operator
function Vec.at(byval i as integer) as integer
  return data_[i]
end function
operator + (byref a as Vec, byref b as Vec) as Vec
  return Vec(a.x + b.x, a.y + b.y)
end operator
operator = (byref a as Vec, byref b as Vec) as integer
  return a.x = b.x andalso a.y = b.y
end operator

type Pos3 extends Vec
  z as integer
end type

dim p as Pos3
p.x = 1 : p.y = 2 : p.z = 3
print p.parent
print cast(integer, p.parent)
dim s as Vec = Vec(1, 2) + Vec(p.x, p.y)
print s
print (s = Vec(2, 4)); (s = Vec(2, 5))
p.parent = 5
print p.x; p.y
print p.at(2); p.data_[3]
for v as Vec = Vec(1, 0) to Vec(3, 0)
  print v.x;
next
print
for v as Vec = Vec(0, 0) to Vec(6, 0) step Vec(2, 0)
  print v.x;
next
print
