' A child type written twice, for two builds: the compact build keeps its
' samples in bytes, the full one in doubles. Each version extends the same
' parent, and the one the compiler keeps has all of the parent's members.
#define COMPACT

type Sensor
  id as integer
  readings as integer
  declare sub record()
  declare function label() as string
end type

sub Sensor.record()
  readings += 1
end sub

function Sensor.label() as string
  return "sensor " & id & " (" & readings & " readings)"
end function

#ifdef COMPACT
type Thermometer extends Sensor
  last as byte
  declare sub sample(byval v as double)
end type

sub Thermometer.sample(byval v as double)
  last = cbyte(v)
  record()
end sub
#else
type Thermometer extends Sensor
  last as double
  declare sub sample(byval v as double)
end type

sub Thermometer.sample(byval v as double)
  last = v
  record()
end sub
#endif

dim t as Thermometer
t.id = 7
t.sample(21.4)
t.sample(22.6)
print t.label(); t.last; sizeof(t.last)
