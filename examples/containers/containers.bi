' containers.bi: generic containers, each written once with t1 as the type
' of its elements. A use such as Stack<<<double>>> gives the concrete type
' Stack_double, generated in the file that uses it.

' A last-in, first-out stack.
template Stack
  items(any) as t1
  count as integer
  declare sub push(byval value as t1)
  declare function pop() as t1
  declare function top() as t1
  declare function isEmpty() as boolean
end template

sub Stack.push(byval value as t1)
  if count > ubound(this.items) then
    redim preserve this.items(count * 2 + 7)
  end if
  items(count) = value
  count += 1
end sub

function Stack.pop() as t1
  count -= 1
  return items(count)
end function

function Stack.top() as t1
  return items(count - 1)
end function

function Stack.isEmpty() as boolean
  return count = 0
end function

' A list that grows as items are appended.
template List
  items(any) as t1
  used as integer
  declare sub append(byval value as t1)
  declare function item(byval index as integer) as t1
  declare function indexOf(byval value as t1) as integer
  declare property length() as integer
end template

sub List.append(byval value as t1)
  if used > ubound(this.items) then
    redim preserve this.items(used * 2 + 7)
  end if
  items(used) = value
  used += 1
end sub

function List.item(byval index as integer) as t1
  return items(index)
end function

function List.indexOf(byval value as t1) as integer
  for i as integer = 0 to used - 1
    if items(i) = value then return i
  next
  return -1
end function

property List.length() as integer
  return used
end property

' A map from keys of type t1 to integers. A template has one type parameter:
' in Map<<<string, integer>>> only the first argument is substituted, the
' second names the value type in the instance name, Map_string__integer.
template Map
  keys(any) as t1
  values(any) as integer
  used as integer
  declare sub assign(byval k as t1, byval v as integer)
  declare function lookup(byval k as t1) as integer
  declare function contains(byval k as t1) as boolean
  declare function slot(byval k as t1) as integer
end template

sub Map.assign(byval k as t1, byval v as integer)
  dim i as integer = slot(k)
  if i < 0 then
    if used > ubound(this.keys) then
      redim preserve this.keys(used * 2 + 7)
      redim preserve this.values(used * 2 + 7)
    end if
    i = used
    keys(i) = k
    used += 1
  end if
  values(i) = v
end sub

function Map.lookup(byval k as t1) as integer
  dim i as integer = slot(k)
  if i < 0 then return 0
  return values(i)
end function

function Map.contains(byval k as t1) as boolean
  return slot(k) >= 0
end function

function Map.slot(byval k as t1) as integer
  for i as integer = 0 to used - 1
    if keys(i) = k then return i
  next
  return -1
end function
