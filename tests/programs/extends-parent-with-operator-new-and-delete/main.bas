' Parents with operator new/delete, extending types made with new, arrays of
' extending types grown with redim preserve, sizes and offsets of the family.

dim shared allocs as integer

type Pooled
  id as integer
  weight as double
  declare operator new(byval size as uinteger) as any ptr
  declare operator delete(byval p as any ptr)
  declare operator new[](byval size as uinteger) as any ptr
  declare operator delete[](byval p as any ptr)
  declare function label() as string
end type

operator Pooled.new(byval size as uinteger) as any ptr
  allocs += 1
  return callocate(size)
end operator

operator Pooled.delete(byval p as any ptr)
  allocs -= 1
  deallocate(p)
end operator

operator Pooled.new[](byval size as uinteger) as any ptr
  allocs += 10
  return callocate(size)
end operator

operator Pooled.delete[](byval p as any ptr)
  allocs -= 10
  deallocate(p)
end operator

function Pooled.label() as string
  return "#" & id & "/" & weight
end function

type Crate extends Pooled
  contents(0 to 2) as string
  declare sub fill(byval what as string)
end type

sub Crate.fill(byval what as string)
  for i as integer = 0 to 2
    contents(i) = what & i
  next
  weight = weight + 1.5
end sub

type Stamp
  code as short
  mark as byte
end type

type Parcel extends Stamp
  volume as long
end type

dim p as Pooled ptr = new Pooled
p->id = 7
p->weight = 2.5
print p->label(), allocs
delete p
print "after delete", allocs

dim c as Crate ptr = new Crate
c->id = 3
c->fill("box")
print c->label(), c->contents(1)
delete c

dim many as Crate ptr = new Crate[3]
for i as integer = 0 to 2
  many[i].id = 100 + i
  many[i].fill("k")
next
print many[2].label(), many[0].contents(2)
delete[] many
dim q as Pooled ptr = new Pooled[4]
q[3].id = 33
print q[3].label(), allocs
delete[] q
print "pooled array deleted", allocs

redim shelf(0 to 1) as Crate
shelf(0).id = 1 : shelf(0).fill("a")
shelf(1).id = 2 : shelf(1).fill("b")
redim preserve shelf(0 to 3)
shelf(3).id = 4
shelf(3).fill("d")
for i as integer = lbound(shelf) to ubound(shelf)
  print i; " "; shelf(i).label(); " "; shelf(i).contents(2)
next

dim pc as Parcel
pc.code = 12
pc.mark = 3
pc.volume = 4000
dim same as typeof(pc)
same = pc
print same.code, same.mark, same.volume
print sizeof(Parcel) >= sizeof(Stamp) + sizeof(long), sizeof(typeof(pc)) = sizeof(Parcel)
print offsetof(Parcel, volume) > offsetof(Parcel, parent)
print offsetof(Stamp, mark)
