' A payroll: workers of the compiler's own inheritance paid through virtual members,
' contracts of fbext's, and generic boxes built on boxes.

type Worker extends Object
  nick as string
  declare constructor(byref n as string = "")
  declare abstract function pay() as double
  declare virtual function role() as string
end type

constructor Worker(byref n as string)
  nick = n
end constructor

function Worker.role() as string
  return "worker"
end function

type Clerk extends Worker
  hours as integer
  declare constructor(byref n as string = "", byval h as integer = 0)
  declare virtual function pay() as double override
end type

constructor Clerk(byref n as string, byval h as integer)
  base(n)
  hours = h
end constructor

function Clerk.pay() as double
  return hours * 12.5
end function

type Boss extends Clerk
  bonus as double
  declare constructor(byref n as string, byval b as double)
  declare function pay() as double override
  declare function role() as string override
end type

constructor Boss(byref n as string, byval b as double)
  base(n, 40)
  bonus = b
end constructor

function Boss.pay() as double
  return base.pay() + bonus
end function

function Boss.role() as string
  return "boss of " & nick
end function

template Box
  content as t1
  opened as integer
  declare function open_() as t1
end template

function Box.open_() as t1
  opened += 1
  return content
end function

' a box with a label on it, and everything a box has
template Labeled extends Box<<<t1>>>
  label as string
  declare function tag() as string
end template

function Labeled.tag() as string
  return label & "#" & opened
end function

type Contract
  start as integer
  months as integer = 12
  declare property ends() as integer
  declare property ends(byval m as integer)
end type

property Contract.ends() as integer
  return start + months
end property

property Contract.ends(byval m as integer)
  months = m - start
end property

type Bonded extends Contract
  guarantor as string
  declare property ends() as integer
end type

' a bonded contract runs three months past its term
property Bonded.ends() as integer
  return parent.ends + 3
end property

dim staff(0 to 2) as Worker ptr
staff(0) = new Clerk("ann", 30)
staff(1) = new Boss("bo", 500)
staff(2) = new Clerk("cy", 10)

dim payslips as Labeled<<<double>>>
for i as integer = 0 to 2
  print staff(i)->nick; " the "; staff(i)->role(); ": "; staff(i)->pay()
  payslips.content = payslips.content + staff(i)->pay()
next
payslips.label = "payroll"
print payslips.tag(); " holds"; payslips.open_(); " -> "; payslips.tag()

dim c as Bonded
c.start = 2024 : c.guarantor = "bank"
print "ends"; c.ends; " (plain term"; c.parent.ends; ")"
c.ends = 2030
print "ends"; c.ends; " months"; c.months
c.months -= 2
print "after two fewer months, ends"; c.ends

dim deals as Labeled<<<Bonded>>>
deals.content = c
deals.label = "deal of " & c.guarantor
dim got as Bonded = deals.open_()
got.start += 1
print deals.tag(); ": "; got.start; " to"; got.ends; ", box still"; deals.content.start

dim crate as Box<<<Labeled<<<integer>>>>>>
crate.content.content = 7
crate.content.label = "seven"
print crate.open_().tag(); crate.opened; crate.content.open_(); crate.content.tag()

for i as integer = 0 to 2
  if *staff(i) is Boss then print staff(i)->nick; " is the boss"
  delete staff(i)
next
