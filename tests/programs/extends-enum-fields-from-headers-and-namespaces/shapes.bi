' Enums the program's shapes share.
enum Fill
  Hollow
  Hatched
  Solid
end enum
