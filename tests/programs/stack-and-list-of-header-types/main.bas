' A stack of points and a list of labels, both types from geometry.bi.

#include once "geometry.bi"
#include once "containers.bi"

Dim path As Stack<<<Point>>>
Dim names As List<<<Label>>>
For i As Integer = 1 To 3
  Dim p As Point
  p.x = i : p.y = i * i
  path.push(p)
  Dim l As Label
  l.text = "P" & i
  l.at = p
  names.append(l)
Next
Dim top As Point = path.pop()
Print "top"; top.x; top.y; ", labels"; names.length
For i As Integer = 0 To names.length - 1
  Print names.items(i).text; " at"; names.items(i).at.y
Next
