' An extending type's members name the parent's constants and statics
' plainly; a member that declares a variable, a parameter or a loop counter
' of the same name uses its own where it is declared, and the parent's
' elsewhere.
type Animal
    const LEG_COUNT = 4
    static as integer pack(any)
    as integer id
end type
dim as integer Animal.pack(any)

type Dog extends Animal
    declare sub bounds()
    declare sub resized()
    declare sub typeFirst()
    declare sub kept()
    declare sub list()
    declare sub inScope()
    declare sub counter()
    declare sub text()
    declare sub given(LEG_COUNT as integer)
    declare sub growPack()
end type
sub Dog.bounds()
    dim LEG_COUNT(1 to 3) as integer
    LEG_COUNT(3) = 9
    print "bounds"; LEG_COUNT(3); ubound(LEG_COUNT)
end sub
sub Dog.resized()
    redim LEG_COUNT(1 to 3) as integer
    print "resized"; ubound(LEG_COUNT)
end sub
sub Dog.typeFirst()
    redim as integer LEG_COUNT(2)
    print "type first"; ubound(LEG_COUNT)
end sub
sub Dog.kept()
    static LEG_COUNT(1 to 2) as integer
    static as integer calls = 10
    LEG_COUNT(1) += 1
    calls += 1
    print "kept"; LEG_COUNT(1); calls
end sub
sub Dog.list()
    dim as integer x = 1, LEG_COUNT = 3
    print "list"; LEG_COUNT + x
end sub
sub Dog.inScope()
    scope
        dim LEG_COUNT as integer = 8
        print "in scope"; LEG_COUNT
    end scope
    print "after scope"; LEG_COUNT
end sub
sub Dog.counter()
    if id = 0 then
        for LEG_COUNT as integer = 1 to 2
            print "counter"; LEG_COUNT
        next
    else
        print "no counter"; LEG_COUNT
    end if
    print "after loop"; LEG_COUNT
end sub
sub Dog.text()
    dim as string LEG_COUNT = "four"
    print "text "; LEG_COUNT
end sub
sub Dog.given(LEG_COUNT as integer)
    print "given"; LEG_COUNT
end sub
sub Dog.growPack()
    redim pack(3) as integer
    pack(3) = 5
    redim preserve pack(4)
    print "pack"; ubound(pack); pack(3)
end sub

type Puppy extends Dog
    declare sub own()
end type
sub Puppy.own()
    dim as integer LEG_COUNT = 3
    print "puppy"; LEG_COUNT
end sub

dim d as Dog
d.bounds()
d.resized()
d.typeFirst()
d.kept()
d.kept()
d.list()
d.inScope()
d.counter()
d.id = 1
d.counter()
d.text()
d.given(7)
d.growPack()
print "parent's pack"; ubound(Animal.pack); Animal.pack(3)
dim p as Puppy
p.own()
p.counter()
p.given(2)
