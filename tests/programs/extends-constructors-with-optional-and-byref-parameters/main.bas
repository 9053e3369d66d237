' A parent whose constructor counts in a static local, extended by a type
' with optional and byref constructor parameters, made with new, new[] and
' dim, in arrays grown with redim preserve.
type Resource
  id as integer
  declare constructor()
  declare destructor()
end type
constructor Resource()
  static next_id as integer
  next_id += 1
  id = next_id
  print "  open"; id
end constructor
destructor Resource()
  print "  close"; id
end destructor
type Texture extends Resource
  w as integer
  h as integer
  declare constructor(byval w_ as integer = 1, byref h_ as const integer = 2)
  declare destructor()
end type
constructor Texture(byval w_ as integer = 1, byref h_ as const integer = 2)
  w = w_ : h = h_
  print "  texture"; id; w; h
end constructor
destructor Texture()
  print "  free texture"; id
end destructor
print "single"
dim t as Texture ptr = new Texture(4)
print t->id, t->w * t->h
delete t
print "array"
dim ts as Texture ptr = new Texture[2]
ts[1].w = 9
print ts[0].id + ts[1].id, ts[1].w
delete[] ts
print "scope"
scope
  dim hh as integer = 6
  dim a as Texture = Texture(5, hh)
  redim more(0 to 0) as Resource
  redim preserve more(0 to 1)
  print "  in scope"; a.w * a.h; ubound(more)
end scope
print "done"
