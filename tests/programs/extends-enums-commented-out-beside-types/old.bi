' The shades were an enum once; the type in main.bas took their place.
/'
enum Shade
  Pale
  Deep
end enum
'/
#if 0
enum Glow
  Dim_
  Bright
end enum
#endif
