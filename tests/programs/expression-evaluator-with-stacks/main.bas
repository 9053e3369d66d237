'' ======================================================
''  CALC - an expression evaluator (shunting yard)
''  fbc -ex main.bas vars.bas -x main
'' ======================================================
#include once "vars.bi"

Enum TokKind
  TK_NUM = 1
  TK_NAME
  TK_OP
  TK_LPAREN
  TK_RPAREN
  TK_END
End Enum

'------------------------------------------------------
' tokens
'------------------------------------------------------
Type Token
  kind As TokKind
  text As String
  at As Integer            ' column in the input
  Declare Function show() As String
End Type

Function Token.show() As String
  Return "[" & text & "@" & at & "]"
End Function

Type NumToken Extends Token
  value As Double
End Type

Type OpToken Extends Token
  prec As Integer
  rightAssoc As Boolean
  Declare Sub setup(ByRef op As String)
  Declare Function apply(ByVal a As Double, ByVal b As Double) As Double
End Type

Sub OpToken.setup(ByRef op As String)
  kind = TK_OP
  text = op
  Select Case op
  Case "+", "-" : prec = 1
  Case "*", "/", "%" : prec = 2
  Case "^" : prec = 3 : rightAssoc = True
  Case Else : prec = 0
  End Select
End Sub

Function OpToken.apply(ByVal a As Double, ByVal b As Double) As Double
  Select Case text
  Case "+" : Return a + b
  Case "-" : Return a - b
  Case "*" : Return a * b
  Case "/"
    If b = 0 Then Error 11          ' division by zero
    Return a / b
  Case "%" : Return a - Int(a / b) * b
  Case "^" : Return a ^ b
  End Select
  Return 0
End Function

'------------------------------------------------------
' the evaluator
'------------------------------------------------------
Dim Shared values As Calc.Stack<<<Double>>>
Dim Shared ops As Calc.Stack<<<OpToken>>>
Dim Shared lastError As String

Sub reduce()
  Dim o As OpToken = ops.pop()
  Dim b As Double = values.pop()
  Dim a As Double = values.pop()
  values.push(o.apply(a, b))
End Sub

Function readNumber(ByRef s As String, ByRef i As Integer) As NumToken
  Dim t As NumToken
  t.kind = TK_NUM
  t.at = i
  Dim start As Integer = i
  While i <= Len(s) AndAlso InStr("0123456789.", Mid(s, i, 1)) > 0
    i += 1
  Wend
  t.text = Mid(s, start, i - start)
  t.value = Val(t.text)
  Return t
End Function

Function evaluate(ByRef expr As String) As Double
  Dim i As Integer = 1
  Dim expectValue As Boolean = True
  Dim result As Double

  On Error Goto failed

  ' both stacks start empty for every expression
  While Not values.isEmpty() : values.pop() : Wend
  While Not ops.isEmpty() : ops.pop() : Wend

  While i <= Len(expr)
    Dim c As String = Mid(expr, i, 1)
    Select Case c
    Case " "
      i += 1
    Case "0" To "9", "."
      Dim n As NumToken = readNumber(expr, i)
      values.push(n.value)
      expectValue = False
    Case "a" To "z", "A" To "Z"
      Dim nm As String
      While i <= Len(expr) AndAlso InStr("abcdefghijklmnopqrstuvwxyz_", LCase(Mid(expr, i, 1)))
        nm &= Mid(expr, i, 1)
        i += 1
      Wend
      Dim ok As Boolean
      Dim v As Double = getVar(nm, ok)
      If Not ok Then lastError = "unknown name " & nm : Error 1001
      values.push(v)
      expectValue = False
    Case "("
      Dim lp As OpToken
      lp.kind = TK_LPAREN : lp.text = "(" : lp.at = i
      ops.push(lp)
      i += 1
    Case ")"
      While Not ops.isEmpty() AndAlso ops.peek().kind <> TK_LPAREN
        reduce()
      Wend
      If ops.isEmpty() Then lastError = "unbalanced )" : Error 1002
      ops.pop()
      i += 1
    Case Else
      Dim o As OpToken
      If c = "-" AndAlso expectValue Then values.push(0)   ' unary minus
      o.setup(c)
      o.at = i
      If o.prec = 0 Then lastError = "bad character " & o.show() : Error 1003
      While Not ops.isEmpty()
        Dim ByRef topOp As OpToken = ops.peek()
        If topOp.kind <> TK_OP Then Exit While
        If topOp.prec > o.prec OrElse (topOp.prec = o.prec AndAlso Not o.rightAssoc) Then
          reduce()
        Else
          Exit While
        End If
      Wend
      ops.push(o)
      expectValue = True
      i += 1
    End Select
  Wend
  While Not ops.isEmpty()
    If ops.peek().kind = TK_LPAREN Then lastError = "unbalanced (" : Error 1002
    reduce()
  Wend
  result = values.pop()
  Return result

failed:
  If lastError = "" Then lastError = "runtime error " & Err
  Return 0
End Function

'------------------------------------------------------
setVar("pi", 3.14159265)
setVar("x", 4)
setVar("Rate", 0.25)

Dim lines_(...) As String = { _
  "1 + 2 * 3", _
  "(1 + 2) * 3", _
  "2 ^ 3 ^ 2", _
  "-x + 10", _
  "pi * x ^ 2", _
  "100 * rate - 1", _
  "7 % 3 + 0.5", _
  "1 / 0", _
  "y + 1", _
  "(2 + 3", _
  "4 $ 4" }

For k As Integer = LBound(lines_) To UBound(lines_)
  lastError = ""
  Dim r As Double = evaluate(lines_(k))
  If lastError <> "" Then
    Print Using "\              \ -> error: &"; lines_(k); lastError
  Else
    Print Using "\              \ -> ######.####"; lines_(k); r
  End If
Next

Print "variables:"; varCount(); "  pushes:"; Calc.Stack_double.pushes + Calc.Stack_optoken.pushes
Dim t As OpToken
t.setup("^")
Print t.show(); " prec"; t.prec; " right "; t.rightAssoc
Print "ops stack depth"; ops.depth; "  values depth"; values.depth
