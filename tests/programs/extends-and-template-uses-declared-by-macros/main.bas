' Types that extend others declared by #macro bodies, with members of their
' own, a parent chosen by #ifdef, and a macro whose body uses a template.
template Stack
  items(0 to 9) as t1
  n as integer
  declare sub push(byval v as t1)
  declare function pop() as t1
end template
sub Stack.push(byval v as t1)
  items(n) = v : n += 1
end sub
function Stack.pop() as t1
  n -= 1 : return items(n)
end function

type Animal
  nm as string
  declare function tag() as string
end type
function Animal.tag() as string
  return "animal " & nm
end function
type Machine
  nm as string
  declare function tag() as string
end type
function Machine.tag() as string
  return "machine " & nm
end function

#macro KIND(N, P, word)
type N extends P
  weight as integer
  declare function say() as string
end type
function N.say() as string
  return word & " " & tag() & " " & weight
end function
#endmacro

#macro WITH_STACK(v)
  dim v as Stack<<<integer>>>
  v.push(10) : v.push(20)
#endmacro

KIND(Dog, Animal, "woof")
#ifdef __FB_LINUX__
KIND(Robot, Machine, "beep")
#else
KIND(Robot, Animal, "beep")
#endif

dim d as Dog
d.nm = "rex" : d.weight = 30
dim r as Robot
r.nm = "r2" : r.weight = 90
print d.say()
print r.say()
print d.tag(); " / "; r.tag()
WITH_STACK(s)
print s.pop(); s.pop()
