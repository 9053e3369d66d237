' defs.bi: names every module shares, pre-included with -include.
#include once "containers.bi"

type Score as Pair<<<string, integer>>>
type ScoreList as List<<<Pair<<<string, integer>>>>>>
