' A const member of an extending type, and a procedure taking one as a
' constant, read the fields it inherits as the parent's own would: numbers,
' strings, pointers and an array's elements. Setting them still works where
' the value is not constant.

type Item
  id as integer
  label as string
  weight as double
  tags(0 to 2) as integer
  owner as zstring ptr
  declare const function summary() as string
end type

const function Item.summary() as string
  return label & "#" & id
end function

type Tool extends Item
  uses as integer
  declare const function describe() as string
  declare const function heaviest(byval other as double) as double
end type

const function Tool.describe() as string
  return summary() & " weighs " & weight & ", tag " & tags(1) & ", by " & *owner & _
         ", used " & uses
end function

const function Tool.heaviest(byval other as double) as double
  if weight > other then return weight
  return other
end function

sub show(byref t as const Tool)
  print t.label; " "; t.id; " "; t.weight; " "; t.tags(2); " "; *t.owner
  print t.describe()
end sub

dim shared maker as zstring * 8 = "ann"
dim hammer as Tool
hammer.id = 7
hammer.label = "hammer"
hammer.weight = 1.5
hammer.tags(1) = 42
hammer.tags(2) = 9
hammer.owner = @maker
hammer.uses = 3
show(hammer)
print hammer.heaviest(2.25)
hammer.weight += 1
print hammer.heaviest(2.25)
