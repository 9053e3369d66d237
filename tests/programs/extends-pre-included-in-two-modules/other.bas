sub describe(byref c as Circle)
  c.label = c.label & " (seen)"
  print c.x; ","; c.y; " r="; c.r; " "; c.label
end sub
