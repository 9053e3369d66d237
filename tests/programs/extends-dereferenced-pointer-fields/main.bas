' A cursor family writing through the pointers it inherits.
type Vec
  x as integer
  y as integer
end type

type Cursor
  at as integer ptr
  slots(0 to 1) as integer ptr
  spot as Vec ptr
  declare sub advance()
end type

sub Cursor.advance()
  at += 1
end sub

type Writer extends Cursor
  written as integer
  declare sub put(byval v as integer)
end type

sub Writer.put(byval v as integer)
  *at = v
  written += 1
  advance()
end sub

dim buf(0 to 7) as integer
dim w as Writer
w.at = @buf(0)
w.put(1) : w.put(2)
*w.at = 30
*w.at += 3
w.advance()
if w.written = 2 then *w.at = 40 else *w.at = -1
with w
  .advance()
  * .at = 50
end with
w.slots(1) = @buf(7)
*w.slots(1) = 70
*w.slots(1) shl= 1
dim ws(1 to 2) as Writer
ws(2).at = @buf(6)
*ws(2).at = 60
dim pw as Writer ptr = @ws(2)
*pw->at -= 1
dim v as Vec
w.spot = @v
*w.spot = type<Vec>(4, 5)
w.spot->y += 1
for i as integer = 0 to 7
  print buf(i);
next
print
print v.x; v.y; w.written
