' A bank account whose balance is a property, and a savings account that
' extends it: the balance is read and set on the savings account as on the
' account, and an indexed property reaches each past transaction.

Type Account
  owner As String
  Declare Property balance() As Double
  Declare Property balance(ByVal amount As Double)
  Declare Property history(ByVal i As Integer) As Double
  Declare Property history(ByVal i As Integer, ByVal amount As Double)
  Declare Sub deposit(ByVal amount As Double, ByRef note As String = "deposit")
Private:
  balance_ As Double
  history_(9) As Double
  count_ As Integer
End Type

Property Account.balance() As Double
  Return balance_
End Property

Property Account.balance(ByVal amount As Double)
  balance_ = amount
End Property

Property Account.history(ByVal i As Integer) As Double
  Return history_(i)
End Property

Property Account.history(ByVal i As Integer, ByVal amount As Double)
  history_(i) = amount
End Property

Sub Account.deposit(ByVal amount As Double, ByRef note As String)
  balance_ += amount
  history_(count_) = amount
  count_ += 1
  Print owner; ": "; note; amount
End Sub

Type Savings Extends Account
  rate As Double
  Declare Sub addInterest()
End Type

Sub Savings.addInterest()
  deposit(balance * rate, "interest")
End Sub

Dim s As Savings
s.owner = "Ada"
s.balance = 100
Print "opening balance:"; s.balance
s.rate = 0.5
s.deposit(20)
s.addInterest()
Print "balance:"; s.balance
s.history(0) = s.history(0) + 1
Print "first:"; s.history(0); ", second:"; s.history(1)
