' Built the way build tools call the compiler: a preprocess-only run, a
' library built from another folder, the main module compiled on its own
' with checks and debug data, then a link by a last run.
#include once "box.bi"

dim title as Box<<<string>>>
title.value = "total"
print title.get(); totalArea(2)
