' ring.bi: a ring buffer that keeps the last RING_SIZE values pushed into it.
' Its members use the constant, the helper and the type declared above it.

Const RING_SIZE = 4

Type RingStats
  pushed As Integer
  dropped As Integer
End Type

Function wrapped(ByVal i As Integer) As Integer
  Return (i + RING_SIZE) Mod RING_SIZE
End Function

template Ring
  items(0 To RING_SIZE - 1) As t1
  head As Integer
  used As Integer
  stats As RingStats
  Declare Sub push(ByRef value As t1)
  Declare Function newest(ByVal back As Integer) As t1
end template

Sub Ring.push(ByRef value As t1)
  items(head) = value
  head = wrapped(head + 1)
  If used = RING_SIZE Then stats.dropped += 1 Else used += 1
  stats.pushed += 1
End Sub

Function Ring.newest(ByVal back As Integer) As t1
  Return items(wrapped(head - 1 - back))
End Function
