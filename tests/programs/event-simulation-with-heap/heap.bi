'' heap.bi -- a binary heap ordered by a compare function
#pragma once

Template Heap
  Dim items(Any) As t1
  Dim size_ As Integer
  Dim before As Function(ByRef a As t1, ByRef b As t1) As Boolean
  Declare Sub push(ByRef v As t1)
  Declare Function pop() As t1
  Declare Function empty_() As Boolean
  Declare Sub siftUp(ByVal i As Integer)
  Declare Sub siftDown(ByVal i As Integer)
End Template

Sub Heap.push(ByRef v As t1)
  If size_ > UBound(items) Then ReDim Preserve items(size_ * 2 + 3)
  items(size_) = v
  siftUp(size_)
  size_ += 1
End Sub

Function Heap.pop() As t1
  Dim r As t1 = items(0)
  size_ -= 1
  If size_ > 0 Then
    items(0) = items(size_)
    siftDown(0)
  End If
  Return r
End Function

Function Heap.empty_() As Boolean
  Return size_ = 0
End Function

Sub Heap.siftUp(ByVal i As Integer)
  While i > 0
    Dim p As Integer = (i - 1) \ 2
    If before(items(i), items(p)) Then
      Swap items(i), items(p)
      i = p
    Else
      Exit While
    End If
  Wend
End Sub

Sub Heap.siftDown(ByVal i As Integer)
  Do
    Dim As Integer l = 2 * i + 1, r = l + 1, m = i
    If l < size_ AndAlso before(items(l), items(m)) Then m = l
    If r < size_ AndAlso before(items(r), items(m)) Then m = r
    If m = i Then Exit Do
    Swap items(i), items(m)
    i = m
  Loop
End Sub

'' a fixed-capacity ring of recent values, for statistics
Template Ring
  buf(0 To 7) As t1
  head As Integer
  filled As Integer
  Declare Sub add(ByVal v As t1)
  Declare Function average() As Double
End Template

Sub Ring.add(ByVal v As t1)
  buf(head) = v
  head = (head + 1) Mod 8
  If filled < 8 Then filled += 1
End Sub

Function Ring.average() As Double
  If filled = 0 Then Return 0
  Dim s As Double
  For i As Integer = 0 To filled - 1
    s += buf(i)
  Next
  Return s / filled
End Function
