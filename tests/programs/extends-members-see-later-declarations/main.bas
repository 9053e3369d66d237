' Types first, then the procedures and variables their members use, then the
' members: the usual order of a FreeBASIC program. An extending type runs
' the parent's members, which must see all that the parent's own see,
' also where the parent is written below the type that extends it.

#include once "stack.bi"

Type Account
  balance As Integer
  Declare Sub deposit(ByVal amount As Integer)
  Declare Function report() As String
  Declare Function digits() As Integer
  Declare Function platform() As String
End Type

Declare Function fee(ByVal amount As Integer) As Integer
Dim Shared totalFees As Integer
Const CURRENCY = "EUR"

Sub Account.deposit(ByVal amount As Integer)
  Dim cost As Integer = fee(amount)
  totalFees += cost
  balance += amount - cost
End Sub

Function fee(ByVal amount As Integer) As Integer
  Return amount \ 10
End Function

#define LABEL(n) "balance " & Str(n)

Function Account.report() As String
  Return LABEL(balance) & " " & CURRENCY
End Function

Function Account.digits() As Integer
  Dim ds As Stack<<<Integer>>>
  Dim n As Integer = balance
  Do
    ds.push(n Mod 10)
    n \= 10
  Loop While n > 0
  Return ds.count
End Function

#ifdef __FB_LINUX__
Function Account.platform() As String
  Return "one branch"
End Function
#else
Function Account.platform() As String
  Return "one branch"
End Function
#endif

Type Savings Extends Account
  rate As Integer
End Type

Namespace Bank
  Type Teller Extends Clerk
    desk As Integer
  End Type

  Declare Function greeting(ByRef who As String) As String

  Type Clerk
    nm As String
    Declare Function hello() As String
  End Type

  Function Clerk.hello() As String
    Return greeting(nm)
  End Function

  Function greeting(ByRef who As String) As String
    Return "hello from " & who
  End Function
End Namespace

Dim s As Savings
s.deposit(100)
s.deposit(50)
Print s.report(); ", fees"; totalFees
Print s.digits(); " digits, "; s.platform()
Dim t As Bank.Teller
t.nm = "Ann"
Print t.hello()
