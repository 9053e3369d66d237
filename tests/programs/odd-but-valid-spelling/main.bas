' Written the way a careful but idiosyncratic user writes: odd spacing,
' mixed letter case, comments after every kind of line, continuations.

#define WITH_LOG

TEMPLATE Stack ' a stack of t1
  Items(Any) AS T1 ' the values
  rem the number of values
  Count As Integer ' how many
  /' the members
     follow '/
  Declare Sub Push( _
      ByRef V As t1 _ ' the value
    ) ' push
  Declare Function Pop _
    () As t1
#ifdef WITH_LOG
  Declare Function Describe() As String ' only with the log
#endif
End Template ' end of Stack

Sub Stack.Push( _
    ByRef V As t1 _
  ) ' push one
  ReDim Preserve Items(Count) ' grow
  Items(Count) = V
  Count += 1
End Sub ' push

/'
Function Stack.Peek() As t1
  Return Items(Count - 1)
End Function
'/

Function Stack.Pop _
  () As t1 ' pop one
  Count -= 1
  Function = Items(Count)
End Function

#ifdef WITH_LOG
Function Stack.Describe() As String
  Dim s As String = "["
  For i As Integer = 0 To Count - 1
    s &= Items(i) & IIf(i < Count - 1, " ", "")
  Next
  Return s & "]"
End Function
#endif

Type Account ' a bank account
  Owner As String ' who
  Balance As Integer ' cents
#if __FB_DEBUG__ = 0
  Limit As Integer = 500 ' overdraft
#else
  Limit As Integer = 0
#endif
  Declare Function Withdraw( _
      ByVal amount As Integer, _  ' how much
      ByVal note As String = "cash" _
    ) As Boolean
  Declare Sub Deposit(ByVal amount As Integer) ' add
End Type ' Account

Function Account.Withdraw( _
    ByVal amount As Integer, _
    ByVal note As String _
  ) As Boolean
  If Balance + Limit < amount Then Return False ' refused
  Balance -= amount
  Print "  "; note; amount
  Return True
End Function

Sub Account.Deposit(ByVal amount As Integer)
  Balance += amount
End Sub

TYPE Savings EXTENDS Account ' with interest
  Rate AS Integer ' percent
  DECLARE SUB AddInterest()
END TYPE

SUB Savings.AddInterest()
  Deposit(Balance * Rate \ 100) ' through the parent
END SUB

Dim s1 As Stack<<< integer >>> ' spaces inside
Dim s2 As STACK<<<Integer>>>   ' same instance
s1.Push(1) : s2.Push(2) : s1.Push(3)
Print s1.Describe(); " "; s2.Describe()
Dim names As stack<<< String >>>
names.Push("x") : names.Push("y")
Print names.Pop(); names.Pop(); names.Count

Dim acc As Savings
acc.Owner = "kim" : acc.Rate = 10
acc.Deposit(1000)
acc.AddInterest()
Print acc.Owner; acc.Balance; acc.Limit
Print acc.Withdraw(2000); acc.Withdraw(1500, "rent"); acc.Balance
