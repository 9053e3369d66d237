namespace Coll
  template Box
    value as t1
    declare function describe() as string
  end template

  function Box.describe() as string
    return "coll box " & value
  end function
end namespace
