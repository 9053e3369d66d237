#lang "fblite"
' QuickBASIC habits: headers named by the $include metacommand, as a
' comment or after REM, with either quote, and one named twice.
'$include: 'pair.bi'
REM $INCLUDE: "inc\grid.bi"
' $include once:'pair.bi'

DIM p AS Pair<<<INTEGER>>>
DIM g AS Grid<<<SINGLE>>>
DIM names AS Pair<<<STRING>>>
p.a = 1: p.b = 2
g.w = 3
g.cells(1, 2) = 2.5
names.a = "left": names.b = "right"
PRINT p.a + p.b; g.cells(1, 2); g.w
PRINT names.a; " "; names.b
