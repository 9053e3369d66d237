#include once "shapes.bi"
#include once "names.bi"

dim p as Path
dim q as Point
q.x = 4 : q.y = 5
p.pts.add(q)
dim l as Label
l.text = "home"
labels.add(l)
print p.pts.count; p.pts.items(0).x; p.pts.items(0).y; " "; labels.items(0).text
