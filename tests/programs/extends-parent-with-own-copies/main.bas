' A parent that owns memory and copies it in its copy constructor and its
' "let": a type extending it, copied or assigned, gets a copy of its own, so
' changing one leaves the other alone and each frees only its own memory.
type Inventory
  slots as integer ptr
  size as integer
  declare constructor(byval n as integer = 3)
  declare constructor(byref other as Inventory)
  declare operator let(byref other as Inventory)
  declare destructor()
  declare sub put(byval i as integer, byval amount as integer)
  declare function total() as integer
end type

constructor Inventory(byval n as integer)
  size = n
  slots = callocate(n, sizeof(integer))
end constructor

constructor Inventory(byref other as Inventory)
  size = other.size
  slots = callocate(size, sizeof(integer))
  for i as integer = 0 to size - 1
    slots[i] = other.slots[i]
  next
end constructor

operator Inventory.let(byref other as Inventory)
  if @other = @this then exit operator
  deallocate(slots)
  size = other.size
  slots = callocate(size, sizeof(integer))
  for i as integer = 0 to size - 1
    slots[i] = other.slots[i]
  next
end operator

destructor Inventory()
  deallocate(slots)
end destructor

sub Inventory.put(byval i as integer, byval amount as integer)
  slots[i] += amount
end sub

function Inventory.total() as integer
  dim t as integer
  for i as integer = 0 to size - 1
    t += slots[i]
  next
  return t
end function

type Backpack extends Inventory
  owner as string
end type

sub show(byref b as Backpack)
  print b.owner; ":"; b.total()
end sub

dim a as Backpack
a.owner = "ann"
a.put(0, 5)
scope
  dim b as Backpack = a
  b.owner = "bob"
  b.put(1, 10)
  dim c as Backpack
  c = b
  c.owner = "cy"
  c.put(2, 100)
  show(a) : show(b) : show(c)
end scope
a.put(2, 1)
show(a)
dim packs(1 to 2) as Backpack
packs(1) = a
packs(2) = packs(1)
packs(2).put(0, 1000)
print packs(1).total(); packs(2).total(); a.total()
