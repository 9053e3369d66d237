' Shapes and boxes, written on Windows with tabs.
Template	Box
	item	As	t1
	Declare	Function	get_()	As	t1
End	Template

Function	Box.get_()	As	t1
	Return	item
End	Function

Type	Shape
	x	As	Integer : y As Integer
	Declare	Sub	move(ByVal dx As Integer)
End	Type

Sub	Shape.move(ByVal dx As Integer)
	x	+=	dx
End	Sub

Type	Circle	Extends	Shape
	r	As	Box<<<Double>>>
End	Type

Type	Tag	Extends	Box<<<String>>>
	n	As	Integer
End	Type

Dim	c	As	Circle
c.move(4)
c.r.item = 2.5
c.y = 6
Print	c.x; c.y; c.r.get_()
Dim	t	As	Tag
t.item = "hi"
Print	t.get_(); t.n
