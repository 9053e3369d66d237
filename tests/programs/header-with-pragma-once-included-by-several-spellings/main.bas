' A header with "#pragma once" included under several spellings of its
' path, beside #inclib and #libpath lines.
#inclib "m"
# libpath "."
#include "lib/cell.bi"
#include "lib\cell.bi"
#Include "./lib/cell.bi"
#include _
  "lib/cell.bi"

dim a as Cell<<<integer>>>
dim b as Cell<<<double>>>
a.v = 21
b.v = 1.25
print a.twice(); b.twice()
