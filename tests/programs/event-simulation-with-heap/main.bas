'' ==================================================================
''  A discrete event simulation of a small coffee shop.
''  Customers arrive, wait for a barista, get served, and leave.
''  fbc main.bas
'' ==================================================================
#include once "heap.bi"

'#define TRACE
#ifdef TRACE
  #define LOG_(s) Print "   ["; __FUNCTION__; "] "; s
#else
  #define LOG_(s)
#endif

Const BARISTAS = 2
Const CLOSING = 60

Enum EventKind
  EV_ARRIVE
  EV_DONE
  EV_TICK
End Enum

'---------------------------------------------------------------
' Event: something happening at a time
'---------------------------------------------------------------
Type Event
  time As Integer
  seq As Integer           ' ties are broken by order of scheduling
  kind As EventKind
  who As Integer
  note As String * 12
  Declare Function label() As String
End Type

Function Event.label() As String
  Return "t=" & time & " #" & seq & " " & RTrim(note)
End Function

Function earlier(ByRef a As Event, ByRef b As Event) As Boolean
  If a.time <> b.time Then Return a.time < b.time
  Return a.seq < b.seq
End Function

'---------------------------------------------------------------
' people
'---------------------------------------------------------------
Type Person
  name_ As String
  visits(1 To 3) As Integer      ' counts per day part
  Declare Sub greet()
End Type

Sub Person.greet()
  Print "  hello, "; name_
End Sub

Type Customer Extends Person
  arrived As Integer
  served As Integer = -1
  order As String
  patience As Integer = 20
  Declare Function waited() As Integer
End Type

Function Customer.waited() As Integer
  Return served - arrived
End Function

Type Barista Extends Person
  busyUntil As Integer
  cups As Integer
  speed As Integer = 4
  Declare Function free(ByVal now As Integer) As Boolean
End Type

Function Barista.free(ByVal now As Integer) As Boolean
  Return busyUntil <= now
End Function

'---------------------------------------------------------------
Dim Shared queue As Heap<<<Event>>>
Dim Shared waits As Ring<<<Integer>>>
Dim Shared customers() As Customer
Dim Shared staff(1 To BARISTAS) As Barista
Dim Shared line_() As Integer         ' customers waiting, by index
Dim Shared nextSeq As Integer
Dim Shared clock As Integer

Sub schedule(ByVal t As Integer, ByVal k As EventKind, ByVal who As Integer, ByRef note As String)
  Dim e As Event
  e.time = t : e.kind = k : e.who = who : e.note = note
  nextSeq += 1
  e.seq = nextSeq
  queue.push(e)
  LOG_("scheduled " & e.label())
End Sub

Function menuItem(ByVal n As Integer) As String
  Select Case n Mod 4
  Case 0 : Return "espresso"
  Case 1 : Return "latte"
  Case 2 : Return "tea"
  Case Else : Return "mocha"
  End Select
End Function

Sub startServing(ByVal b As Integer, ByVal c As Integer)
  With customers(c)
    .served = clock
    staff(b).busyUntil = clock + staff(b).speed + Len(.order) \ 3
    staff(b).cups += 1
    staff(b).visits(1 + clock \ 21) += 1
    waits.add(.waited())
    schedule(staff(b).busyUntil, EV_DONE, c, "done " & .order)
  End With
End Sub

Sub tryServe()
  For b As Integer = 1 To BARISTAS
    If UBound(line_) < 0 Then Exit Sub
    If staff(b).free(clock) Then
      Dim c As Integer = line_(0)
      ' shift the line forward
      For i As Integer = 0 To UBound(line_) - 1
        line_(i) = line_(i + 1)
      Next
      If UBound(line_) = 0 Then Erase line_ Else ReDim Preserve line_(UBound(line_) - 1)
      startServing(b, c)
    End If
  Next
End Sub

Sub handle(ByRef e As Event)
  clock = e.time
  Select Case As Const e.kind
  Case EV_ARRIVE
    Dim n As Integer = UBound(customers) + 1
    ReDim Preserve customers(n)
    customers(n).name_ = "guest" & n
    customers(n).arrived = clock
    customers(n).order = menuItem(n * 7 + 3)
    customers(n).visits(1) += 1
    ReDim Preserve line_(UBound(line_) + 1)
    line_(UBound(line_)) = n
    If clock + 5 < CLOSING Then schedule(clock + 1 + (n * 5) Mod 3, EV_ARRIVE, n + 1, "arrival")
  Case EV_DONE
    Print Using "t=### \      \ gets a \      \ (waited ##)"; clock; customers(e.who).name_; _
      customers(e.who).order; customers(e.who).waited()
  Case EV_TICK
    Print Using "t=### line ## avg wait ##.##"; clock; UBound(line_) + 1; waits.average()
    If clock + 15 <= CLOSING Then schedule(clock + 15, EV_TICK, 0, "tick")
  End Select
  tryServe()
End Sub

'---------------------------------------------------------------
queue.before = @earlier
staff(1).name_ = "Ann" : staff(1).speed = 3
staff(2).name_ = "Ben"
For b As Integer = 1 To BARISTAS
  staff(b).greet()
Next

schedule(0, EV_ARRIVE, 0, "open")
schedule(15, EV_TICK, 0, "tick")

Dim handled As Integer
While Not queue.empty_()
  Dim e As Event = queue.pop()
  handle(e)
  handled += 1
Wend

Print
Print "events handled:"; handled; "  customers:"; UBound(customers) + 1
For b As Integer = 1 To BARISTAS
  With staff(b)
    Print Using "& made ## cups  (### ### ###)"; .name_; .cups; .visits(1); .visits(2); .visits(3)
  End With
Next
Dim longest As Integer = 0
For i As Integer = 1 To UBound(customers)
  If customers(i).waited() > customers(longest).waited() Then longest = i
Next
customers(longest).greet()
Print "longest wait: "; customers(longest).name_; customers(longest).waited()
customers(longest).visits(2) += 5
Print "visits:"; customers(longest).visits(1); customers(longest).visits(2)
