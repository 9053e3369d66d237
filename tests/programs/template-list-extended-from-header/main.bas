' A list template in a header, with constructors, a destructor, Let, a
' property and operator [], used for arrays, byref parameters, copies and
' as the parent of a type that extends an instance of it.

#include once "list.bi"

Type Person
  nm As String
  age As Integer
End Type

Sub older(ByRef people As List<<<Person>>>)
  For i As Integer = 0 To people.count - 1
    people[i].age += 1
  Next
End Sub

Type Team Extends List<<<Person>>>
  title As String
  Declare Function oldest() As String
End Type

Function Team.oldest() As String
  Dim best As Integer = 0
  For i As Integer = 1 To count - 1
    If item(i).age > item(best).age Then best = i
  Next
  Return item(best).nm
End Function

Dim p As Person
Dim people As List<<<Person>>>
p.nm = "Ann" : p.age = 30 : people.add(p)
p.nm = "Bob" : p.age = 41 : people.add(p)
older(people)
Dim copy As List<<<Person>>> = people
copy[0].nm = "Cid"
Print people[0].nm; people[0].age, copy[0].nm, copy.count

Dim t As Team
t.title = "core"
t.add(people.item(0))
t.add(people.item(1))
p.nm = "Dee" : p.age = 50
t.item(0) = p
Print t.title; t.count; " "; t.oldest()

Dim grid(1 To 2) As List<<<Integer>>>
For r As Integer = 1 To 2
  For c As Integer = 1 To r * 2
    grid(r).add(r * 10 + c)
  Next
Next
Print grid(1).count; grid(2).count; grid(2)[3]
Dim words As List<<<String>>>
words.add("alpha") : words.add("beta")
Dim more As List<<<String>>>
more = words
more.add("gamma")
Print words.count; more.count; " "; more[2]
