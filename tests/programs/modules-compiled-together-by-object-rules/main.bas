' Shapes built by make with one rule per object: five modules compiled at
' once, each including the shapes family and the generic containers, then
' linked by a last run.
#include once "shapes.bi"
dim c as Circle = makeCircle("wheel", 2)
c.moveBy(3, 4)
print circleReport(c)
dim s as Square = makeSquare("tile", 5)
s.moveBy(1, 1)
s.y += 10
print squareReport(s)
print sumAreas(4)
dim d as Stack<<<double>>>
d.push(1.5) : d.push(2.25)
print d.total(); d.pop(); d.count
print pairOf(7, "seven").show()
