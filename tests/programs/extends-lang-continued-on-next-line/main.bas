' The dialect named on the line after "#lang _": an fblite program, whose
' "extends" the compiler reads as its own inheritance of fields.
#lang _
    "fblite"

type Account
    balance as integer
end type

type Savings extends Account
    rate as integer
end type

dim s as Savings
s.balance = 200
s.rate = 5
total% = s.balance + s.balance * s.rate / 100
print s.balance; s.rate; total%
