' A value kept with a fixed tag that no code may change after construction.
template Tagged
  value As t1
  tag As Const Integer = 7
  Declare Const Function doubled () As t1
end template

Function Tagged.doubled () As t1
  Return value * 2
End Function
