' vars.bas
#include once "vars.bi"

dim shared vars as Calc.Table<<<string, double>>>

sub setVar(byref name_ as string, byval v as double)
  vars.set_(lcase(name_), v)
end sub

function getVar(byref name_ as string, byref ok as boolean) as double
  return vars.lookup(lcase(name_), ok)
end function

function varCount() as integer
  return ubound(vars.names) + 1
end function
