' A template that extends a type, whose members name their parameters after
' the parent's fields: every instance gets them renamed, and so does a type
' extending one instance.

type Named
  label as string
  count as integer
end type

template Setting extends Named
  value as t1
  declare constructor()
  declare constructor(byval label as string, byval value as t1)
  declare sub bump(byval count as integer)
end template

constructor Setting()
end constructor

constructor Setting(byval label as string, byval value as t1)
  this.label = label : this.value = value
end constructor

sub Setting.bump(byval count as integer)
  this.count += count
  print label; count; this.count
end sub

type Leaf extends Setting<<<integer>>>
  declare sub rename(byval label as string)
end type

sub Leaf.rename(byval label as string)
  this.label = label & "!"
end sub

dim a as Setting<<<integer>>> = Setting<<<integer>>>("a", 1)
dim b as Setting<<<double>>> = Setting<<<double>>>("b", 2.5)
a.bump(2) : a.bump(3) : b.bump(4)
print a.label; a.value; " "; b.label; b.value
dim l as Leaf
l.rename("leaf") : l.bump(7)
print l.label
