#lang "fb"
' Read in the fb dialect whatever -lang says: fbext's extends, with members.
#include once "cells.bi"

type Named
  title as string
  declare function shout() as string
end type

function Named.shout() as string
  return ucase(title) & "!"
end function

type Record extends Named
  tally as Cell<<<integer>>>
end type

function describeRecords(byval n as integer) as string
  dim r as Record
  r.title = "records"
  r.tally.count = n
  r.tally.count += 1
  return r.shout() & " " & r.tally.count
end function
