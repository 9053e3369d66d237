' An event bus with callback fields: listeners extend a base listener, each
' registers a handler and its own address, and the bus calls them by topic.

Type Handler As Sub(ByVal context As Any Ptr, ByRef payload As String)

Type EventBus
  topics(Any) As String
  handlers(Any) As Handler
  contexts(Any) As Any Ptr
  count As Integer
  Declare Sub subscribe(ByRef topic As String, ByVal h As Handler, ByVal context As Any Ptr)
  Declare Function publish(ByRef topic As String, ByRef payload As String) As Integer
End Type

Sub EventBus.subscribe(ByRef topic As String, ByVal h As Handler, ByVal context As Any Ptr)
  ReDim Preserve topics(count)
  ReDim Preserve handlers(count)
  ReDim Preserve contexts(count)
  topics(count) = topic
  handlers(count) = h
  contexts(count) = context
  count += 1
End Sub

Function EventBus.publish(ByRef topic As String, ByRef payload As String) As Integer
  Dim delivered As Integer = 0
  For i As Integer = 0 To count - 1
    If topics(i) = topic OrElse topics(i) = "*" Then
      handlers(i)(contexts(i), payload)
      delivered += 1
    End If
  Next
  Return delivered
End Function

' What every listener has: a name, what it received, and a callback of its own
' run after each event.
Type Listener
  name As String
  received As Integer
  history As String
  afterEach As Sub(ByRef who As String, ByVal n As Integer)
  Declare Sub record(ByRef payload As String)
  Declare Function summary() As String
End Type

Sub Listener.record(ByRef payload As String)
  received += 1
  If Len(history) > 0 Then history &= "|"
  history &= payload
  If afterEach <> 0 Then afterEach(name, received)
End Sub

Function Listener.summary() As String
  Return name & " got " & received & ": " & history
End Function

' Counts the words of each payload.
Type WordCounter Extends Listener
  words As Integer
  Declare Sub take(ByRef payload As String)
End Type

Sub WordCounter.take(ByRef payload As String)
  record(payload)
  Dim inWord As Boolean = False
  For i As Integer = 1 To Len(payload)
    Dim isSpace As Boolean = (Mid(payload, i, 1) = " ")
    If Not isSpace AndAlso Not inWord Then words += 1
    inWord = Not isSpace
  Next
End Sub

' Keeps only payloads at or above a level, given as "level:text".
Type Alarm Extends Listener
  threshold As Integer
  raised As Integer
  Declare Sub take(ByVal payload As String)
End Type

Sub Alarm.take(ByVal payload As String)
  Dim colon As Integer = InStr(payload, ":")
  Dim level As Integer = Val(Left(payload, colon - 1))
  Select Case level
  Case Is >= threshold
    raised += 1
    record(UCase(Mid(payload, colon + 1)))
  Case Else
    ' below the threshold: ignored
  End Select
End Sub

Sub countWords(ByVal context As Any Ptr, ByRef payload As String)
  Dim w As WordCounter Ptr = context
  w->take(payload)
End Sub

Sub checkAlarm(ByVal context As Any Ptr, ByRef payload As String)
  CPtr(Alarm Ptr, context)->take(payload)
End Sub

Dim Shared ticks As String
Sub tick(ByRef who As String, ByVal n As Integer)
  ticks &= Left(who, 1) & n & " "
End Sub

Dim bus As EventBus
Dim counter As WordCounter
counter.name = "counter"
counter.afterEach = @tick
Dim siren As Alarm
siren.name = "alarm"
siren.threshold = 3
siren.afterEach = @tick

bus.subscribe("chat", @countWords, @counter)
bus.subscribe("log", @checkAlarm, @siren)
bus.subscribe("*", @countWords, @counter)

Dim sent As Integer = 0
sent += bus.publish("chat", "hello there")
sent += bus.publish("log", "2:disk almost full")
sent += bus.publish("log", "4:disk full")
sent += bus.publish("chat", "  spaced   out  words ")
sent += bus.publish("other", "x")

Print "delivered"; sent
Print counter.summary(); " ("; counter.words; " words)"
Print siren.summary(); " ("; siren.raised; " raised)"
Print "ticks: "; ticks
