#define OTHER 1
#undef OTHER
