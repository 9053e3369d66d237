#include "classtext.h"
#include "mappedtext.h"

#include <gtest/gtest.h>

namespace {

TEST(MappedText, JoinLinesKeepsEveryPartsOrigins) {
    const MappedText joined = MappedText::joinLines(
        {MappedText(QStringLiteral("a\nb"), at(1)), MappedText(QStringLiteral("\n"), LineOrigin()),
         MappedText(QString(), at(7)), MappedText(QStringLiteral("c"), at(3))});
    EXPECT_EQ(joined.text, QStringLiteral("a\nb\n\n\n\nc"));
    ASSERT_EQ(joined.lineCount(), 6);
    EXPECT_EQ(joined.origins[1], at(1));
    EXPECT_FALSE(joined.origins[2].isKnown());
    EXPECT_EQ(joined.origins[4], at(7));
    EXPECT_EQ(joined.origins[5], at(3));
}

TEST(MappedText, JoinLinesOfNothingIsOneEmptyLine) {
    const MappedText joined = MappedText::joinLines({});
    EXPECT_EQ(joined.text, QString());
    EXPECT_EQ(joined.lineCount(), 1);
}

} // namespace
