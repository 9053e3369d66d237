' ELEM names double from here on: the #undef is continued onto the next line.
#UNDEF _ ' which macro:
  ELEM
#define ELEM double
