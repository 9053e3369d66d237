#pragma once

// On a large input most of a run's system time goes to faulting in the fresh
// memory of the passes one 4 KiB page at a time. The C library's allocator can
// ask the kernel for huge pages instead, but it reads that setting only when a
// program starts; so a run whose source arguments are large starts itself
// again, once, with the setting made, before it reads or locks anything.
//
// Called first thing in main, with main's own arguments. Returns when this run
// goes on as it is; otherwise the same program replaces it with the same
// arguments. The restarted run removes the setting from its environment, so
// the compiler and everything it starts get the user's environment unchanged.
void restartWithHugePagesForLargeSources(int argc, char* argv[]);
