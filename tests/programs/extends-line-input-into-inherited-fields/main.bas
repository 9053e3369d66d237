' A card index whose cards read their lines into the fields they inherit.
#include once "crt.bi"

type Card
  title as string
  note as string * 12
  tags(0 to 1) as string
  declare function show() as string
end type

function Card.show() as string
  return title & " / " & rtrim(note) & " / " & tags(0) & "," & tags(1)
end function

type BookCard extends Card
  shelf as integer
  declare sub readFrom(byval f as integer)
end type

sub BookCard.readFrom(byval f as integer)
  line input #f, title
  line input #f, this.note
  line input #f, tags(1)
end sub

' The lines the cards read, from a file and from standard input.
dim f as integer = freefile
open "cards.txt" for output as #f
print #f, "Dune"
print #f, "sand, spice"
print #f, "classic"
print #f, "Emma"
print #f, "from stdin"
print #f, "novel"
close #f

dim b as BookCard
f = freefile
open "cards.txt" for input as #f
b.readFrom(f)
close #f
print b.show()

' Standard input is the same file from here on.
freopen("cards.txt", "r", stdin)
dim cards(1 to 2) as BookCard
dim skip as string
line input skip : line input skip : line input skip
dim i as integer = 2
line input cards(i).title
if i = 2 then line input ; cards(i).note else print "?"
with cards(i)
  .shelf = 4 : line input "", .tags(0)
end with
print cards(2).show(); cards(2).shelf
kill "cards.txt"
