' Beads extend the header's link instance; the chain holds their parts.
type Bead extends Link<<<integer>>>
  colour as string
end type
dim c as Chain<<<integer>>>
dim as Bead a, b
a.value = 5 : a.colour = "red"
b.value = 7 : b.colour = "blue"
c.push(cptr(Link<<<integer>>> ptr, @a.parent))
c.push(cptr(Link<<<integer>>> ptr, @b.parent))
a.value += 1
print c.sum(); a.index(); b.index(); " "; chainText(c)
otherModule()
