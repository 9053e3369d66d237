#pragma once

// How the C library's allocator is set up for a run, from the size of its
// sources. Called first thing in main, with main's own arguments.
//
// On a large input most of a run's system time goes to faulting in the fresh
// memory of the passes one 4 KiB page at a time. The allocator can ask the
// kernel for huge pages instead, but it reads that setting only when a program
// starts; so a run whose source arguments are large starts itself again, once,
// with the setting made, before it reads or locks anything. The restarted run
// removes the setting from its environment, so the compiler and everything it
// starts get the user's environment unchanged.
//
// Any other run with a megabyte of sources or more has buffers of 256 KiB
// and more taken from the kernel on their own and given back when freed: a
// text grown in place then moves its pages instead of being copied, and the
// holes freed texts leave in the heap do not stay in the run's memory. A user
// who sets GLIBC_TUNABLES keeps their own settings, and the program is not
// started again.
//
// Returns when this run goes on as it is; otherwise the same program replaces
// it with the same arguments.
void setUpMemoryForSources(int argc, char* argv[]);
