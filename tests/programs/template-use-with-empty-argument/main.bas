' A use that leaves a type argument empty: fbext names this line, not the
' template's field lines where the compiler would meet "as" with no type.
#include once "pair.bi"

dim ok as Pair<<<string, integer>>>
ok.first = "apples"
ok.second = 3
print ok.describe()

dim counts as Pair<<<, integer>>>
print counts.describe()
