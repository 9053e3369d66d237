' Data read straight into inherited fields, alone and among other targets.
type Item
  id as integer
  label as string
  price as double
  tags(0 to 2) as string
end type

type Stocked extends Item
  count as integer
  declare sub load()
end type

sub Stocked.load()
  read id, label
  read price : read count
end sub

dim as integer a, b
dim q as Stocked
read q.id
read a, q.label, b
read q.price, q.tags(1), q.count
print q.id; " "; q.label; q.price; " "; q.tags(1); q.count; a; b
dim k as integer = 2
if k = 2 then read q.tags(k), q.tags(k - 2) else print "no"
print q.tags(2); " "; q.tags(0)
with q
  read .id, .count
end with
print q.id; q.count
q.load()
print q.id; " "; q.label; q.price; q.count

data 7, 10, "lamp", 20, 9.5, "red", 3
data "blue", "green"
data 8, 4
data 9, "desk", 99.25, 1
