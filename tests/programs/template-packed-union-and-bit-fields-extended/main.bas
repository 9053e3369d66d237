' A packed generic word: a union of the value and its bytes, bit fields and
' static data, extended by a type whose members reach all of them.
template Word field = 1
  tag as ubyte
  union
    whole as t1
    bytes(0 to sizeof(t1) - 1) as ubyte
  end union
  flags : 3 as ulong
  level : 4 as ulong
  static made as integer
  declare constructor(byval v as t1 = 0)
  declare const function low() as integer
  declare sub mark(byval f as integer = 5)
end template

dim Word.made as integer

constructor Word(byval v as t1 = 0)
  whole = v
  made += 1
end constructor

const function Word.low() as integer
  return bytes(0)
end function

sub Word.mark(byval f as integer = 5)
  this.flags = f
  level = f + 1
end sub

type Signed extends Word<<<long>>>
  note as string
  declare sub show()
end type

sub Signed.show()
  print note; " tag"; tag; " whole"; whole; " low"; low(); " b1"; bytes(1); " f"; flags; " l"; level
end sub

dim s as Signed
s.note = "s"
s.whole = &h1234
s.tag = 9
s.mark()
s.show()
s.bytes(1) = 0
s.mark(3)
s.show()
with s
  .level += 2
  .whole = .whole + &h100
  .show()
end with
print Word<<<long>>>.made, sizeof(Word<<<long>>>), sizeof(Word<<<short>>>)
dim w as Word<<<short>>> = Word<<<short>>>(&h0102)
print w.low(), w.bytes(1), Word<<<short>>>.made
