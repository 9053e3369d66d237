' hello: one generic type and one type extension.
'   fbc main.bas

' A box that holds one value of any type; t1 is that type.
template Box
  content as t1
  declare function describe() as string
end template

function Box.describe() as string
  return "a box holding " & content
end function

type Greeter
  greeting as string
  declare function greet(byref who as string) as string
end type

function Greeter.greet(byref who as string) as string
  return greeting & ", " & who & "!"
end function

' A LoudGreeter has everything a Greeter has, and shouts.
type LoudGreeter extends Greeter
  declare function shout(byref who as string) as string
end type

function LoudGreeter.shout(byref who as string) as string
  return ucase(greet(who))
end function

dim answer as Box<<<integer>>>
answer.content = 42
print answer.describe()

dim g as LoudGreeter
g.greeting = "Hello"
print g.greet("world")
print g.shout("world")
