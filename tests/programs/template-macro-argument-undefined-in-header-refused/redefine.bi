#undef ELEM
#define ELEM double
