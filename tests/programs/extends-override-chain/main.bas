' Vehicles, cars and taxis: a chain of three where the car declares its own
' describe() and the taxi its own describe() and fare field. Along the chain
' the nearest declaration wins, and every level stays reachable through
' parent.

Type Vehicle
  wheels As Integer = 4
  fare As Integer = 0
  Declare Function describe() As String
  Declare Function kind() As String
End Type

Function Vehicle.describe() As String
  Return kind() & " on " & wheels & " wheels"
End Function

Function Vehicle.kind() As String
  Return "vehicle"
End Function

Type Car Extends Vehicle
  seats As Integer = 5
  Declare Function describe() As String
End Type

Function Car.describe() As String
  Return "car with " & seats & " seats, " & parent.describe()
End Function

Type Taxi Extends Car
  fare As Double = 2.5
  Declare Function describe() As String
End Type

Function Taxi.describe() As String
  Return "taxi at " & fare & " a mile: " & parent.describe()
End Function

Dim t As Taxi
Print t.describe()
t.seats = 7
t.wheels = 6
t.fare = 3.75
Print t.describe()
Print t.kind(); t.parent.fare; t.parent.parent.fare
Dim c As Car
c.fare = 9
Print c.describe(); c.fare
