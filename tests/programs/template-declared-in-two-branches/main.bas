' The same template in both branches of an #if: which one the compiler
' keeps is not known before it runs, so the use is refused.
#define SMALL
#ifdef SMALL
template Buf
  items(0 to 1) as t1
end template
#else
template Buf
  items(0 to 99) as t1
end template
#endif
dim b as Buf<<<integer>>>
print ubound(b.items)
