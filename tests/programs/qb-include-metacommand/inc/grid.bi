' A grid of any element type, for programs in the QuickBASIC dialects.
Template Grid
  cells(0 To 2, 0 To 2) As t1
  w As Integer
End Template
