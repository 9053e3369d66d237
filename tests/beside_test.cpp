#include "beside.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <new>

// Every item is done exactly once, whatever the count against the few items
// a thread takes at a time, and both parts run before the call returns.
TEST(Beside, SharingDoesEveryItemOnceAndBothParts) {
    for (const qsizetype count : {0, 1, 7, 8, 9, 17, 1000}) {
        SCOPED_TRACE(count);
        const auto done = std::make_unique<std::atomic<int>[]>(size_t(count));
        std::atomic<int> parts{0};
        runBesideSharing([&] { ++parts; }, [&] { ++parts; }, count,
                         [&](qsizetype i) { ++done[i]; });
        EXPECT_EQ(parts, 2);
        for (qsizetype i = 0; i < count; ++i)
            EXPECT_EQ(done[i], 1) << "item " << i;
    }
}

// A part that throws reaches the caller once the items are done.
TEST(Beside, SharingPassesOnWhatAPartThrows) {
    std::atomic<int> items{0};
    EXPECT_THROW(
        runBesideSharing([] { throw std::bad_alloc(); }, [] {}, 100, [&](qsizetype) { ++items; }),
        std::bad_alloc);
    EXPECT_EQ(items, 100);
}
