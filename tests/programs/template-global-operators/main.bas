' Operators that FreeBASIC takes only outside a type (+, *, =, <), written
' once for a template after it, and declared ahead where they follow their use.
template Vec2
  x as t1
  y as t1
  declare operator += (byref other as Vec2)
  declare function length2() as t1
end template

operator Vec2.+= (byref other as Vec2)
  x += other.x
  y += other.y
end operator

function Vec2.length2() as t1
  return x * x + y * y
end function

operator + (byref a as Vec2, byref b as Vec2) as Vec2
  return type<Vec2>(a.x + b.x, a.y + b.y)
end operator

operator * (byval k as t1, byref v as Vec2) as Vec2 ' scaling
  return type<Vec2>(k * v.x, k * v.y)
end operator

operator = (byref a as Vec2, byref b as Vec2) as integer
  return a.x = b.x andalso a.y = b.y
end operator

dim as Vec2<<<integer>>> p = (1, 2), q = (3, 4)
dim r as Vec2<<<integer>>> = p + q
print r.x; r.y; r.length2()
r += p
print r.x; r.y
dim s as Vec2<<<integer>>> = 2 * p
print s.x; s.y; (s = type<Vec2<<<integer>>>>(2, 4)); (s = p)

dim as Vec2<<<double>>> a = (0.5, 1.5), b = (0.25, 0.25)
dim c as Vec2<<<double>>> = a + b
print c.x; c.y; c.length2()

template Money
  cents as t1
  declare function text() as string
end template

declare operator + (byref a as Money, byref b as Money) as Money
declare operator < (byref a as Money, byref b as Money) as integer

type Wallet
  declare operator cast() as string
  total as Money<<<longint>>>
end type

operator Wallet.cast() as string
  return total.text()
end operator

dim as Money<<<longint>>> m1 = (150), m2 = (275)
dim w as Wallet
w.total = m1 + m2
print w, m1 < m2, m2 < m1

function Money.text() as string
  return "$" & (cents \ 100) & "." & right("0" & (cents mod 100), 2)
end function

operator + (byref a as Money, byref b as Money) as Money
  return type<Money>(a.cents + b.cents)
end operator

operator < (byref a as Money, byref b as Money) as integer
  return a.cents < b.cents
end operator

' an operator for one instance only stays as written
operator - (byref a as Money<<<longint>>>, byref b as Money<<<longint>>>) as Money<<<longint>>>
  return type<Money<<<longint>>>>(a.cents - b.cents)
end operator
print (m2 - m1).text()
