#include "memorysetup.h"

#include "arguments.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#define FBEXT_SETS_UP_GLIBC_MALLOC 1
#endif

#ifdef FBEXT_SETS_UP_GLIBC_MALLOC

namespace {

// The C library's setting, and a mark that says this run was started with it
// by fbext rather than by the user. Besides huge pages, buffers of 4 MiB and
// more are always taken from the kernel and given back when freed: left to
// itself the allocator soon keeps such buffers in its heap, where the holes
// they leave add a tenth to a large run's memory. And at most a few heaps:
// the main thread, the journal's thread and the thread that shares the
// passes' work each allocate from a heap of their own. With one heap for all,
// the two threads that share a large file's records wait for its lock a
// fifth of the time; with more heaps, each keeps room the others cannot
// reuse. heapCount is the setting's arena_max.
const char* const tunablesVariable = "GLIBC_TUNABLES";
constexpr int heapCount = 4;
const char* const hugePagesSetting =
    "glibc.malloc.hugetlb=1:glibc.malloc.mmap_threshold=4194304:glibc.malloc.arena_max=4";
const char* const restartedVariable = "FBEXT_RESTARTED_WITH_HUGE_PAGES";

// Below this many bytes of sources huge pages are not worth it: the time they
// save is small, and memory taken in 2 MiB steps adds several megabytes to a
// run whose sources hold a few.
constexpr long long restartThreshold = 4LL << 20;

// Without huge pages, the size from which a buffer gets a mapping of its own.
// Left to itself the allocator raises this to the size of the largest buffer
// freed so far, after which the texts of the passes live in its heap: growing
// one copies it, and the room it leaves stays in the run's memory.
constexpr int ownMappingThreshold = 256 * 1024;

// Below a megabyte of sources the texts of the passes are a few hundred
// kilobytes, and they get mappings of their own from 64 KiB: in the heap, the
// room each one leaves when it is freed or grown stays in the run's memory,
// which at that size is a fifth of what the run adds to the program's fixed
// memory.
constexpr long long ownMappingsFrom = 1LL << 20;
constexpr int smallOwnMappingThreshold = 64 * 1024;

// The bytes of the source files named on the command line, as far as they can
// be seen at once: files named in response files or included later are not
// counted, which only makes a restart less likely.
long long sourceArgumentBytes(int argc, char* argv[]) {
    long long total = 0;
    for (int i = 1; i < argc; ++i) {
        if (!isSourceFileArgument(argv[i]))
            continue;
        struct stat status {};
        if (::stat(argv[i], &status) == 0 && S_ISREG(status.st_mode))
            total += status.st_size;
    }
    return total;
}

// Whether /proc/self/exe is the file this code runs from. It is not when a
// loader or a tool started the program (ld.so run by hand, valgrind): starting
// that again would not start this program.
bool selfIsThisProgram() {
    struct stat program {};
    if (::stat("/proc/self/exe", &program) != 0)
        return false;
    std::FILE* maps = std::fopen("/proc/self/maps", "re");
    if (!maps)
        return false;
    const auto here = reinterpret_cast<std::uintptr_t>(&selfIsThisProgram);
    bool same = false;
    char line[8192];
    while (std::fgets(line, sizeof line, maps)) {
        unsigned long start = 0, end = 0, offset = 0, inode = 0;
        unsigned major = 0, minor = 0;
        char permissions[8] = {};
        if (std::sscanf(line, "%lx-%lx %7s %lx %x:%x %lu", &start, &end, permissions, &offset,
                        &major, &minor, &inode) == 7 &&
            here >= start && here < end) {
            same = inode == program.st_ino && makedev(major, minor) == program.st_dev;
            break;
        }
    }
    std::fclose(maps);
    return same;
}

} // namespace

void setUpMemoryForSources(int argc, char* argv[]) {
    if (std::getenv(restartedVariable)) {
        // Started again by the lines below: the allocator has read the
        // setting, and nothing after this run should see it (a setting of
        // the user's own, with the mark set by hand, stays).
        const char* tunables = std::getenv(tunablesVariable);
        if (tunables && std::strcmp(tunables, hugePagesSetting) == 0)
            ::unsetenv(tunablesVariable);
        ::unsetenv(restartedVariable);
        return;
    }
    // A user who tunes the C library keeps their own settings.
    if (std::getenv(tunablesVariable))
        return;
    const long long sourceBytes = sourceArgumentBytes(argc, argv);
    if (sourceBytes >= restartThreshold && selfIsThisProgram()) {
        if (::setenv(tunablesVariable, hugePagesSetting, 1) == 0 &&
            ::setenv(restartedVariable, "1", 1) == 0)
            ::execv("/proc/self/exe", argv);
        // The program could not be started again: this run goes on without
        // huge pages, and with the environment it was given.
        ::unsetenv(tunablesVariable);
        ::unsetenv(restartedVariable);
    }
    ::mallopt(M_MMAP_THRESHOLD,
              sourceBytes >= ownMappingsFrom ? ownMappingThreshold : smallOwnMappingThreshold);
    ::mallopt(M_ARENA_MAX, heapCount);
}

#else

void setUpMemoryForSources(int, char*[]) {}

#endif
