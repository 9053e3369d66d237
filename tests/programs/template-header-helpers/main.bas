' The last four words of a sentence, newest first, and the last four squares.

#include once "ring.bi"

Dim words As Ring<<<String>>>
Dim text As String = "one two three four five six"
Dim start As Integer = 1
For i As Integer = 1 To Len(text) + 1
  If i > Len(text) OrElse Mid(text, i, 1) = " " Then
    words.push(Mid(text, start, i - start))
    start = i + 1
  End If
Next
For back As Integer = 0 To words.used - 1
  Print words.newest(back); " ";
Next
Print
Print "pushed"; words.stats.pushed; ", dropped"; words.stats.dropped

Dim squares As Ring<<<Integer>>>
For n As Integer = 1 To 5
  squares.push(n * n)
Next
Print squares.newest(0); squares.newest(3)
