' A bank account that announces when it is opened and closed and can be
' turned into text, and a savings account that extends it. The savings
' account's parent part is built, converted and destroyed as an Account is.

Type Account
  owner As String
  balance As Double
  Declare Constructor()
  Declare Destructor()
  Declare Operator Cast() As String
  Declare Sub deposit(ByVal amount As Double)
End Type

Constructor Account()
  owner = "nobody"
  Print "account opened"
End Constructor

Destructor Account()
  Print "account of "; owner; " closed"
End Destructor

Operator Account.Cast() As String
  Return owner & " has " & balance
End Operator

Sub Account.deposit(ByVal amount As Double)
  balance += amount
End Sub

Type Savings Extends Account
  rate As Double
  Declare Sub addInterest()
End Type

Sub Savings.addInterest()
  deposit(balance * rate)
End Sub

Scope
  Dim plain As Account
  plain.deposit(20)
  Print "plain: " & plain
End Scope

Scope
  Dim s As Savings
  Print "new savings belong to "; s.owner
  s.owner = "Ada"
  s.rate = 0.5
  s.deposit(100)
  s.addInterest()
  Print "balance:"; s.balance
  Print "as text: " & s.parent
End Scope
Print "done"
