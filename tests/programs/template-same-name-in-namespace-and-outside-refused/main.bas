namespace Coll
  template Box
    value as t1
    declare function describe() as string
  end template

  function Box.describe() as string
    return "coll box " & value
  end function
end namespace

template Box
  value as t1
  declare function describe() as string
end template

function Box.describe() as string
  return "plain box " & value
end function

dim a as Coll.Box<<<integer>>>
dim b as Box<<<integer>>>
a.value = 1
b.value = 2
print a.describe()
print b.describe()
