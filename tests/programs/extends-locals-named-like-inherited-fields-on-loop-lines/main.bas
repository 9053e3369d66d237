' Locals named like inherited fields at several depths of one member: a loop
' counter and a local declared on the loop's own line, branches that each
' declare their own, and nested scopes, each hiding the field only where it
' lives.
namespace Outer
namespace Inner
enum Level
    low
    high
end enum
end namespace
end namespace

type Meter
    hp as integer
    mp as integer
    tag as string
    declare sub show()
end type

sub Meter.show()
    print "hp"; hp; " mp"; mp; " tag "; tag
end sub

type Hero extends Meter
    level as integer
    declare sub play(byval turns as integer)
end type

sub Hero.play(byval turns as integer)
    for hp as integer = 1 to turns : dim mp as integer = hp * 10 : mp += 1 : print "turn"; hp; " mp"; mp : next
    print "after the loop hp"; hp; " mp"; mp
    if turns > 1 then
        dim hp as integer = 100
        hp += 1
        print "then hp"; hp
    else
        dim mp as integer = 200
        print "else mp"; mp
    end if
    hp += turns
    scope
        dim tag as string = "inner"
        scope
            dim hp as integer = -1
            tag &= "!"
            print "deep hp"; hp; " tag "; tag
        end scope
        hp += 1
    end scope
    tag &= "+"
    level = Outer.Inner.high
end sub

dim h as Hero
h.hp = 5
h.mp = 7
h.tag = "t"
h.play(2)
h.show()
print "level"; h.level
h.play(1)
h.show()
