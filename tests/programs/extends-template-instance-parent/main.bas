' A type that extends a template instance declared in a header: the
' instance is generated into this file, so the named stack gets its push,
' pop and fields. A second type holds an instance as a field and extends a
' type of its own.

#include once "stack.bi"

Type NamedStack Extends Stack<<<Integer>>>
  label As String
  Declare Sub show()
End Type

Sub NamedStack.show()
  Print label; ":"; count; " on top:"; items(count - 1)
End Sub

Type Shape
  x As Integer
  Declare Sub move(ByVal dx As Integer)
End Type

Sub Shape.move(ByVal dx As Integer)
  x += dx
End Sub

Type Walker Extends Shape
  steps As Stack<<<Integer>>>
  Declare Sub walk(ByVal dx As Integer)
End Type

Sub Walker.walk(ByVal dx As Integer)
  move(dx)
  steps.push(x)
End Sub

Dim n As NamedStack
n.label = "nums"
n.push(3)
n.push(4)
n.show()
Print n.pop(); n.count

Dim w As Walker
w.walk(2)
w.walk(5)
Print w.x; w.steps.count; w.steps.pop(); w.steps.pop()
