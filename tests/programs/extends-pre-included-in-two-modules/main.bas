' Two modules, each given shapes.bi with -include: each gets the forwarders
' of Circle, kept to itself, as the compiler links both.
dim c as Circle
c.x = 3
c.y = 4
c.r = 5
c.label = "first"
c.x = c.x + 10
describe(c)
print c.parent.x, c.label
