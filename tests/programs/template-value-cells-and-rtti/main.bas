' Value cells over strings, pointers, booleans and unsigned numbers, with a
' member that reads another cell in a with block and dims t1 and another
' instance in a scope; a padded field of fixed-length strings; and a family
' rooted in Object whose parent is an instance, asked with "is".
template Cell
  value as t1
  declare constructor()
  declare constructor(byval v as t1)
  declare operator let(byval v as t1)
  declare operator cast() as string
  declare function same(byref o as Cell) as boolean
  declare function size() as integer
end template

constructor Cell()
end constructor

constructor Cell(byval v as t1)
  value = v
end constructor

operator Cell.let(byval v as t1)
  value = v
end operator

operator Cell.cast() as string
  return "<" & value & ">"
end operator

function Cell.same(byref o as Cell) as boolean
  with o
    return .value = value
  end with
end function

function Cell.size() as integer
  dim here as t1
  dim other as Cell<<<integer>>>
  other = sizeof(here)
  scope
    dim again as Cell
    again = value
    if again.same(this) then return other.value
  end scope
  return -1
end function

operator = (byref a as Cell, byref b as Cell) as integer
  return a.value = b.value
end operator

template Padded
  text as t1
  declare function width() as integer
end template

function Padded.width() as integer
  return sizeof(t1)
end function

template Shape extends object
  tag as t1
  declare virtual function describe() as string
end template

function Shape.describe() as string
  return "shape " & tag
end function

type Square extends Shape<<<string>>>
  side as integer
  declare function describe() as string override
end type

function Square.describe() as string
  return "square " & tag & side
end function

dim a as Cell<<<string>>>
a = "abc"
dim b as Cell<<<String>>> = Cell<<<string>>>("abd")
print a; " "; b; a.size(); a = b
dim fixed as Padded<<<string * 8>>>
fixed.text = "abcdefghij"
dim zfixed as Padded<<<zstring * 16>>>
zfixed.text = "zero-terminated!!"
print fixed.text; "|"; zfixed.text; "|"; fixed.width(); zfixed.width()
dim n as Cell<<<const zstring ptr>>>
n = @"named"
print *n.value; n.size()
dim p as Cell<<<any ptr>>>
p = @n
print p.value = @n; p.size()
dim f as Cell<<<boolean>>>
f = true
print f; f.size()
dim u as Cell<<<ulongint>>> = Cell<<<ulongint>>>(&hFFFFFFFFFFFFFFFFull)
print u; u.size()
dim l as Cell<<<unsigned long>>> = 7
print l; l.size()

dim sq as Square
sq.tag = "sq" : sq.side = 3
dim sh as Shape<<<string>>> ptr = @sq
print sh->describe(); (*sh is Square)
dim plain as Shape<<<string>>>
plain.tag = "round"
sh = @plain
print sh->describe(); (*sh is Square)
