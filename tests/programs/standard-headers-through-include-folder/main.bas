' The compiler's own headers through an -i that names its include folder,
' beside user headers in -i inc that include the same standard headers, and a
' user header named like a standard one.
#include once "crt.bi"
#include once "vbcompat.bi"
#include once "gauges.bi"
#include once "containers.bi"
#include once "string.bi"
#include once "file.bi"

dim t as Thermometer
t.name = "outside"
t.unit = "C"
for i as integer = 1 to 8
  t.record(i * 1.5)
next
print t.history.joined()
print t.reading()
dim ids as Ring<<<integer>>>
for i as integer = 10 to 17
  ids.push(i)
next
print ids.joined(); " first"; ids.item(0)

dim journal as Log<<<string>>>
journal.note("pow " & format(pow(2, 10), "0"))
journal.note("strlen" & strlen(t.unit))
journal.note(format(dateserial(2024, 2, 29), "yyyy-mm-dd") & " " & weekdayname(weekday(dateserial(2024, 2, 29))))
journal.note("exists " & fileexists("main.bas") & " " & fileexists("missing.bas"))
journal.dump()
dim buf as zstring * 16
sprintf(@buf, "%05.1f", t.mean())
print buf
