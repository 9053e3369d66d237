' Sizes and offsets of a family of extending types: offsetof on inherited
' fields (one and two levels up), sizeof and typeof of inherited fields, and
' byte-level access to a record through the offsets.

type Stamp field = 1
  code as short
  mark as byte
  label as zstring * 5
end type

type Parcel extends Stamp field = 1
  volume as long
  declare function describe() as string
end type

function Parcel.describe() as string
  return "code=" & code & " mark=" & mark & " label=" & label & " volume=" & volume
end function

type Crate extends Parcel
  slots(0 to 2) as ubyte
end type

' The offset of each field, from the start of the value.
sub showOffsets()
  print "Stamp:"; offsetof(Stamp, code); offsetof(Stamp, mark); offsetof(Stamp, label)
  print "Parcel:"; offsetof(Parcel, code); offsetof(Parcel, mark); offsetof(Parcel, label); _
        OffsetOf(Parcel, volume)
  print "Crate:"; offsetof(Crate, code); offsetof( Crate , Mark ); offsetof(Crate, volume); _
        offsetof(Crate, slots(0))
end sub

showOffsets()
print "offsetof(Parcel, code) in a string stays"
' offsetof(Parcel, code) in a comment stays too

dim p as Parcel
p.code = 513
p.mark = 7
p.label = "box"
p.volume = 100000
print p.describe()

' Read the fields back through their offsets.
dim bytes as ubyte ptr = cast(ubyte ptr, cast(any ptr, @p))
print *cast(short ptr, bytes + offsetof(Parcel, code)), bytes[offsetof(Parcel, mark)], _
      *cast(zstring ptr, bytes + offsetof(Parcel, label)), *cast(long ptr, bytes + offsetof(Parcel, volume))

dim c as Crate
c.code = -2
c.volume = 42
c.slots(1) = 9
dim cb as ubyte ptr = cast(ubyte ptr, cast(any ptr, @c))
print *cast(short ptr, cb + offsetof(Crate, code)), *cast(long ptr, cb + offsetof(Crate, volume)), _
      cb[offsetof(Crate, slots(0)) + 1]

dim t as typeof(p.code) = 5
print sizeof(t), sizeof(p.mark), sizeof(p.volume), sizeof(Stamp), sizeof(Parcel)
