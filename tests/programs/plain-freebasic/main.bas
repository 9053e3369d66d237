' An ordinary FreeBASIC program that uses none of fbext's extensions:
' namespaces, macros, overloaded operators and FreeBASIC's own inheritance
' with virtual and abstract members. Through fbext it must behave exactly as
' it does without it.

#define SQUARED(n) ((n) * (n))
#define LABEL(s) ("[" & s & "]")

#macro SHOW(caption, value)
  Print LABEL(caption); " "; value
#endmacro

Namespace Geometry

  Type Vec2
    x As Double
    y As Double
    Declare Constructor()
    Declare Constructor(ByVal x As Double, ByVal y As Double)
    Declare Operator Cast() As String
    Declare Operator += (ByRef other As Vec2)
  End Type

  Constructor Vec2()
  End Constructor

  Constructor Vec2(ByVal x As Double, ByVal y As Double)
    This.x = x
    This.y = y
  End Constructor

  Operator Vec2.Cast() As String
    Return "(" & x & ", " & y & ")"
  End Operator

  Operator Vec2.+= (ByRef other As Vec2)
    x += other.x
    y += other.y
  End Operator

  Function lengthSquared(ByRef v As Vec2) As Double
    Return SQUARED(v.x) + SQUARED(v.y)
  End Function

End Namespace

Operator + (ByRef a As Geometry.Vec2, ByRef b As Geometry.Vec2) As Geometry.Vec2
  Return Geometry.Vec2(a.x + b.x, a.y + b.y)
End Operator

Operator * (ByVal k As Double, ByRef v As Geometry.Vec2) As Geometry.Vec2
  Return Geometry.Vec2(k * v.x, k * v.y)
End Operator

' Shapes through FreeBASIC's own inheritance, rooted in Object.
Type Shape Extends Object
  Declare Abstract Function area() As Double
  Declare Virtual Function describe() As String
  Declare Virtual Destructor()
End Type

Function Shape.describe() As String
  Return "a shape of area " & area()
End Function

Destructor Shape()
  Print "shape gone"
End Destructor

Type Square Extends Shape
  side As Double
  Declare Constructor(ByVal side As Double)
  Declare Function area() As Double Override
  Declare Function describe() As String Override
End Type

Constructor Square(ByVal side As Double)
  This.side = side
End Constructor

Function Square.area() As Double
  Return SQUARED(side)
End Function

Function Square.describe() As String
  Return "a square of side " & side & ", " & Base.describe()
End Function

Type Disc Extends Shape
  radius As Double
  Declare Constructor(ByVal radius As Double)
  Declare Function area() As Double Override
End Type

Constructor Disc(ByVal radius As Double)
  This.radius = radius
End Constructor

Function Disc.area() As Double
  Return 3 * SQUARED(radius)
End Function

Using Geometry

Dim a As Vec2 = Vec2(1, 2)
Dim b As Vec2 = Vec2(3, -1)
SHOW("a + b", a + b)
SHOW("2 * a", 2 * a)
a += b
SHOW("a after += b", a)
SHOW("|a|^2", lengthSquared(a))

Dim shapes(0 To 1) As Shape Ptr
shapes(0) = New Square(3)
shapes(1) = New Disc(2)
For i As Integer = 0 To UBound(shapes)
  Print shapes(i)->describe()
  Delete shapes(i)
Next
