' sums.bas: a stack of areas of circles made in another module.
#include once "shapes.bi"
function sumAreas(byval n as integer) as integer
  dim st as Stack<<<integer>>>
  for i as integer = 1 to n
    dim c as Circle = makeCircle("c" & i, i)
    st.push(c.area())
  next
  return st.total()
end function
