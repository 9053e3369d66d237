# ifndef CELLS_BI
#  define CELLS_BI
' A template whose type block defines macros, the directives spelt with
' blanks after the "#" and in capitals.
template Cell
  #	DEFINE BYTES sizeof(t1)
  # macro SHOW(label)
    print label; v; " in"; BYTES; " bytes"
  # EndMacro
  v as t1
  declare sub report()
end template

sub Cell.report()
  SHOW("cell")
end sub

' Instances first used inside the guard stay inside it.
type Row
  a as Cell<<<short>>>
  b as Cell<<<double>>>
end type
# endif ' CELLS_BI
