'$lang: "deprecated"
' Older code: implicit variables, and a type extending another by fields.
type Account
  balance as integer
end type

type Savings extends Account
  rate as integer
end type

function legacyTotal(byval n as integer) as integer
  dim s as Savings
  s.balance = 100
  s.rate = n
  total% = s.balance + s.balance * s.rate / 100
  legacyTotal = total%
end function
