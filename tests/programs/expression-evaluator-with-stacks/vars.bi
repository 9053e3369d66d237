' vars.bi - variables of the calculator, kept in vars.bas
#include once "stack.bi"
declare sub setVar(byref name_ as string, byval v as double)
declare function getVar(byref name_ as string, byref ok as boolean) as double
declare function varCount() as integer
