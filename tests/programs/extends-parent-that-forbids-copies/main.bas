' A parent that forbids copies as FreeBASIC's manual does it: its copy
' constructor and its let are declared under "private:" and implemented
' nowhere. Types that extend it, from the file and from a template, build.
type ByteBuffer
  public:
    declare constructor(byval size as uinteger = 0)
    declare destructor()
    declare operator [](byval index as uinteger) byref as byte
    declare function length() as uinteger
  private:
    declare constructor(byref rhs as ByteBuffer)
    declare operator let(byref rhs as ByteBuffer)
    dim as byte ptr bytes
    dim as uinteger count
end type

constructor ByteBuffer(byval size as uinteger = 0)
  if size > 0 then
    bytes = callocate(size)
    count = size
  end if
end constructor

destructor ByteBuffer()
  deallocate(bytes)
end destructor

operator ByteBuffer.[](byval index as uinteger) byref as byte
  return bytes[index]
end operator

function ByteBuffer.length() as uinteger
  return count
end function

type Packet extends ByteBuffer
  kind as string
  declare sub fill(byval n as uinteger, byval start as byte)
  declare function checksum() as integer
end type

sub Packet.fill(byval n as uinteger, byval start as byte)
  parent.constructor(n)
  for i as integer = 0 to n - 1
    parent[i] = start + i
  next
end sub

function Packet.checksum() as integer
  dim as integer sum
  for i as integer = 0 to length() - 1
    sum += parent[i]
  next
  return sum
end function

template Stamped extends ByteBuffer
  stamp as t1
end template

scope
  dim p as Packet
  p.kind = "ping"
  p.fill(5, 10)
  print p.kind; p.length(); p.checksum(); p.parent[4]
  dim s as Stamped<<<string>>>
  s.stamp = "empty"
  print s.stamp; s.length()
end scope
print "done"
