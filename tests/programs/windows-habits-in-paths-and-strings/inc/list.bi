#include once "..\common\sizes.bi"

template List
  items(0 to LIST_CAP - 1) as t1
  count as integer
  declare sub add(byval v as t1)
  declare function describe() as string
end template

sub List.add(byval v as t1)
  items(count) = v
  count += 1
end sub

function List.describe() as string
  return __FUNCTION__ & " holds" & str(count) & " at line" & str(__LINE__)
end function
