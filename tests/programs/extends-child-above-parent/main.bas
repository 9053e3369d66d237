' Types written child first: a puppy above the dog it extends, the dog
' above the animal. The puppy still gets every member of the dog and of the
' animal, whatever the order of the blocks, also where the animal's members
' name the animal type itself.

Type Puppy Extends Dog
  toy As String
  Declare Sub play()
End Type

Sub Puppy.play()
  Print name; " plays with the "; toy; " and"; legs; " legs"
End Sub

Type Dog Extends Animal
  breed As String
  Declare Function tag() As String
End Type

Function Dog.tag() As String
  Return breed & ": " & describe()
End Function

Type Animal
  name As String
  legs As Integer = 4
  friend As Animal Ptr
  Declare Function describe() As String
  Declare Function olderThan(ByRef other As Animal) As Boolean
  Declare Property age() As Integer
  Declare Property age(ByVal years As Integer)
Private:
  years_ As Integer
End Type

Function Animal.describe() As String
  Return name & " (" & years_ & " years)"
End Function

Function Animal.olderThan(ByRef other As Animal) As Boolean
  Return years_ > other.age
End Function

Property Animal.age() As Integer
  Return years_
End Property

Property Animal.age(ByVal years As Integer)
  years_ = years
End Property

Dim p As Puppy
p.name = "Rex"
p.breed = "beagle"
p.toy = "ball"
p.age = 1
p.play()
p.age = p.age + 1
Print p.tag()
Print p.describe()
Dim cat As Animal
cat.name = "Tom"
cat.age = 5
p.friend = @cat
Print p.friend->name; ", younger than Rex? "; p.olderThan(cat)
