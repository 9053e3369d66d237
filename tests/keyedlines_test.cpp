#include "keyedlines.h"

#include <QHash>
#include <QList>

#include <gtest/gtest.h>

namespace {

QList<int> linesOf(const KeyedLines& index, QByteArrayView key) {
    const KeyedLines::Run run = index.linesOf(key);
    return QList<int>(run.begin, run.end);
}

TEST(KeyedLines, GivesEachKeysLinesInOrderAsAMapOfListsWould) {
    // Keys of every length (the empty one, prefixes of others, keys that
    // differ in one byte), many more than the table first holds, a line
    // filed under several keys, and one filed twice under the same key.
    KeyedLines index;
    QHash<QByteArray, QList<int>> expected;
    const auto add = [&](const QByteArray& key, int line) {
        index.add(key, line);
        expected[key].append(line);
    };
    for (int line = 0; line < 5000; ++line) {
        add("1shape" + QByteArray::number(line % 700) + '.', line);
        add("1shape" + QByteArray::number(line % 700) + ".inner.", line);
        if (line % 3 == 0)
            add(QByteArray(line % 5, 'x'), line);
        if (line % 1000 == 7) {
            add("2dup.", line);
            add("2dup.", line);
        }
    }
    index.finish();
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        EXPECT_EQ(linesOf(index, it.key()), it.value()) << it.key().constData();
    EXPECT_TRUE(linesOf(index, "1shape700.").isEmpty());
    EXPECT_TRUE(linesOf(index, "1shape1").isEmpty()); // a prefix of keys, not one itself
}

TEST(KeyedLines, AnIndexWithoutKeysFindsNothing) {
    KeyedLines index;
    index.finish();
    EXPECT_TRUE(linesOf(index, "1a.").isEmpty());
    EXPECT_TRUE(linesOf(index, "").isEmpty());
}

} // namespace
