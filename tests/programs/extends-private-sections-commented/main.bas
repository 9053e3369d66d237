' A parent indented with tabs, whose private sections carry comments on
' their own lines, as many writers note what a section is for. The type
' extending it still reaches every member through the parent's twin.

type Account ' the parent
	private: ' hidden state
		cents as integer ' in cents
		history(0 to 7) as integer
	public: ' what callers use
		declare sub deposit(byval c as integer) ' adds
		declare function balance() as integer
		declare function lastMoves(byval n as integer) as string
	Private : Rem helpers
		declare sub audit(byval c as integer)
		moves as integer
end type ' Account

sub Account.deposit(byval c as integer) ' adds
	cents += c
	audit(c)
end sub

function Account.balance() as integer
	return cents
end function

function Account.lastMoves(byval n as integer) as string
	dim s as string
	for i as integer = moves - 1 to moves - n step -1
		if i < 0 then exit for
		s &= history(i mod 8) & " "
	next
	return s
end function

sub Account.audit(byval c as integer)
	history(moves mod 8) = c
	moves += 1
	if cents < 0 then print "overdrawn by"; -cents
end sub

type Savings extends Account ' child
	rate as integer ' percent
	declare sub addInterest()
end type

sub Savings.addInterest()
	if balance() > 0 then deposit(balance() * rate \ 100)
end sub

dim s as Savings
s.rate = 10
s.deposit(150)
s.addInterest()
s.deposit(-200)
print s.balance(); s.cents; s.moves
print s.lastMoves(2); s.history(1)
