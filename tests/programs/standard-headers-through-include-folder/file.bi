' This program's own log, named like the compiler's file.bi: the include in
' main.bas finds this one, the one in vbcompat.bi the compiler's.
#pragma once
#include once "crt/stdio.bi"

template Log
  lines(0 to 7) as t1
  count as integer
  declare sub note(byref s as t1)
  declare sub dump()
end template

sub Log.note(byref s as t1)
  lines(count mod 8) = s
  count += 1
end sub

sub Log.dump()
  for i as integer = 0 to count - 1
    print "log"; i; ": "; lines(i)
  next
end sub
