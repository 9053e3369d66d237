#ifndef GAUGES_BI
#define GAUGES_BI
#include once "crt/math.bi"
#include once "crt.bi"
#include once "string.bi"
#include once "containers.bi"
#inclib "m"

type Gauge
  name as string
  history as Ring<<<double>>>
  declare sub record(byval v as double)
  declare function mean() as double
end type

sub Gauge.record(byval v as double)
  history.push(v)
end sub

function Gauge.mean() as double
  dim t as double
  for i as integer = 0 to history.used - 1
    t += history.item(i)
  next
  return iif(history.used > 0, t / history.used, 0)
end function

type Thermometer extends Gauge
  unit as string
  declare function reading() as string
end type

function Thermometer.reading() as string
  return name & " mean " & format(mean(), "0.00") & unit & " rms " & format(sqrt(mean() * mean()), "0.0")
end function
#endif
