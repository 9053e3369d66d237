' Animals, dogs and puppies: a chain of three types where each extends the
' one before it. A Puppy reaches every field, sub, function and property of
' Dog and of Animal under their own names.

Type Animal
  name As String
  legs As Integer
  Declare Sub rename(ByRef newName As String)
  Declare Function describe() As String
  Declare Property age() As Integer
  Declare Property age(ByVal years As Integer)
Private:
  years_ As Integer
End Type

Sub Animal.rename(ByRef newName As String)
  name = newName
End Sub

Function Animal.describe() As String
  Return name & " (" & legs & " legs, " & years_ & " years)"
End Function

Property Animal.age() As Integer
  Return years_
End Property

Property Animal.age(ByVal years As Integer)
  years_ = years
End Property

' A dog is an animal with a breed.
Type Dog Extends Animal
  breed As String
  Declare Sub bark()
  Declare Function tag() As String
End Type

Sub Dog.bark()
  Print name; " says woof"
End Sub

Function Dog.tag() As String
  Return breed & ": " & describe()
End Function

' A puppy is a dog with a favourite toy.
Type Puppy Extends Dog
  toy As String
  Declare Sub play()
End Type

Sub Puppy.play()
  Print name; " plays with the "; toy
End Sub

Dim p As Puppy
p.name = "Rex"
p.legs = 4
p.breed = "beagle"
p.toy = "ball"
p.age = 1

p.bark()
p.play()
Print p.describe()
Print p.tag()

p.rename("Max")
p.age = p.age + 1
Print p.name; " is"; p.age; " now"
Print p.tag()
