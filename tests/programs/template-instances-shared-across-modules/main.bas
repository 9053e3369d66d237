' Ranges made and summed in another module, with a tally both modules share.
#include once "range.bi"

dim shared span as Range<<<long>>>
span = Range<<<long>>>(1, 4)
dim wide as Range<<<Long>>> = widen(span, 2)
print span; " "; wide; total(span); total(wide)
static shared ptrs as Range<<<long>>> ptr
ptrs = new Range<<<long>>>[2]
ptrs[1] = Range<<<long>>>(5, 6)
print ptrs[1]; sizeof(Range<<<long>>>); total(ptrs[1])
delete[] ptrs
redim many(0) as Range<<<long>>>
redim preserve many(2) as Range<<<long>>>
many(2) = wide
print ubound(many); " "; many(2); " "; many(1)
print tally.hits; tally.misses; sizeof(typeof(tally))
