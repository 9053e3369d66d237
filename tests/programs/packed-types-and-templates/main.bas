' Records laid out byte by byte for a file format: a packed template and a
' packed type extended by another packed type. Each keeps its packing, so
' the bytes written are the bytes the format says.

' The bytes of a value, in hexadecimal.
function hexOf(byval p as any ptr, byval n as integer) as string
  dim h as string
  for i as integer = 0 to n - 1
    h &= hex(cast(ubyte ptr, p)[i], 2)
  next
  return h
end function

template Tagged field = 1 ' one byte of tag, then the value
  tag as ubyte
  value as t1
  declare function bytes() as string
end template

function Tagged.bytes() as string
  return hexOf(@this, sizeof(this))
end function

type ChunkHeader field = 1
  id as zstring * 4
  size as ulong
  declare sub describe()
end type

sub ChunkHeader.describe()
  print id; size
end sub

Type FormatChunk Extends ChunkHeader Field = 1 ' "fmt " chunk
  format as ushort
  channels as ushort
end type

dim t as Tagged<<<long>>>
t.tag = 1 : t.value = &h04030201
print sizeof(Tagged<<<long>>>); sizeof(Tagged<<<short>>>); " "; t.bytes()

dim f as FormatChunk
f.id = "fmt"
f.size = 16
f.format = 1
f.channels = 2
f.describe()
print sizeof(ChunkHeader); sizeof(f.parent); sizeof(FormatChunk)
print hexOf(@f, sizeof(f))
