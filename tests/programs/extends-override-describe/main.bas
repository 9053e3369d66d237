' A circle is a shape that describes itself its own way: its describe()
' takes the place of the shape's, which stays reachable as
' parent.describe(). A member of the same name with other parameters stands
' beside the circle's own (an overload), and so does the other half of a
' property the circle declares only one half of. The shape's messages name
' it as written.

Type Shape
  name As String = "shape"
  Declare Function describe() As String
  Declare Function describe(ByVal indent As Integer) As String
  Declare Sub resize(ByVal factor As Double)
  Declare Property size() As Double
  Declare Property size(ByVal value As Double)
Private:
  size_ As Double = 1
End Type

Function Shape.describe() As String
  Return name & " of size " & size_
End Function

Function Shape.describe(ByVal indent As Integer) As String
  Return Space(indent) & describe()
End Function

Sub Shape.resize(ByVal factor As Double)
  Print "Shape.resize:"; factor ' Shape.resize
  size_ *= factor
End Sub

Property Shape.size() As Double
  Return size_
End Property

Property Shape.size(ByVal value As Double)
  size_ = value
End Property

Type Circle Extends Shape
  radius As Double
  Declare Function describe() As String
  Declare Sub resize(ByVal factor As Double, ByVal growRadius As Boolean)
  Declare Property size() As Double
End Type

Function Circle.describe() As String
  Return "circle of radius " & radius & " (" & parent.describe() & ")"
End Function

Sub Circle.resize(ByVal factor As Double, ByVal growRadius As Boolean)
  parent.resize(factor)
  If growRadius Then radius *= factor
End Sub

Property Circle.size() As Double
  Return parent.size * 10
End Property

Dim c As Circle
c.name = "round"
c.radius = 2
Print c.describe()
Print c.describe(4)
c.resize(3)
Print c.describe()
c.resize(2, True)
Print c.describe()
c.size = 5
Print c.size; c.parent.size
