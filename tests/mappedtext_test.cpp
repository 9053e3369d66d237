#include "classtext.h"
#include "lines.h"
#include "mappedtext.h"

#include <gtest/gtest.h>

namespace {

TEST(LineOrigin, OriginsOfOneFileNameAreEqualWhereverTheNameCameFrom) {
    const QString name = QStringLiteral("C:/src/main.bas");
    const LineOrigin first(name, 3);
    const LineOrigin again(QString(name.data(), name.size()), 3); // same text, other storage
    EXPECT_EQ(first, again);
    EXPECT_NE(first, LineOrigin(QStringLiteral("c:/src/main.bas"), 3)); // names are exact
    EXPECT_NE(first, first.atLine(4));
    EXPECT_EQ(first.atLine(4).file(), name);

    // A name read back stays valid however many names come after it.
    const QString& kept = first.file();
    for (int i = 0; i < 2000; ++i)
        LineOrigin(QStringLiteral("other%1.bi").arg(i), 1);
    EXPECT_EQ(kept, name);

    const LineOrigin none;
    EXPECT_FALSE(none.isKnown());
    EXPECT_TRUE(none.file().isEmpty());
    // Lists fill new entries with origins that have no file.
    QList<LineOrigin> grown{first};
    grown.resize(3);
    EXPECT_EQ(grown[2], LineOrigin());
}

TEST(MappedText, AppendJoinsTheTouchingLinesAndKeepsTheirOrigin) {
    MappedText text("a\nb", at(1));
    text.append(MappedText("c\nd", at(5)));
    EXPECT_EQ(text.text, QByteArray("a\nbc\nd"));
    EXPECT_EQ(text.origins, (QList<LineOrigin>{at(1), at(1), at(5)}));

    MappedText empty;
    empty.append(MappedText("x\ny", at(7)));
    EXPECT_EQ(empty.origins, (QList<LineOrigin>{at(7), at(7)}));

    MappedText endsInLineFeed("a\n", at(1));
    endsInLineFeed.append(MappedText("z", at(9)));
    EXPECT_EQ(endsInLineFeed.origins, (QList<LineOrigin>{at(1), at(9)}));
}

TEST(MappedText, InsertKeepsOneOriginPerLine) {
    struct Case {
        const char* text;
        qsizetype position;
        const char* inserted;
        QList<int> lines; // expected origin line numbers; the text's lines are 1.., inserted 100
    };
    const Case cases[] = {
        {"type A\nend type", 6, "\nx\ny", {1, 100, 100, 2}},
        {"type A\nend type", 6, "\nx\n", {1, 100, 100, 2}},
        {"abc", 1, "X", {1}},
        {"", 0, "p\nq", {100, 100}},
        {"a\nb", 2, "p\n", {1, 100, 2}},
        {"a\n\nb", 2, "p", {1, 100, 3}},
    };
    for (const Case& c : cases) {
        MappedText text = sourceOf(c.text);
        text.insert(c.position, MappedText(c.inserted, at(100)));
        EXPECT_EQ(text.text, QByteArray(c.text).insert(c.position, c.inserted));
        QList<LineOrigin> expected;
        for (int line : c.lines)
            expected.append(at(line));
        EXPECT_EQ(text.origins, expected) << c.text << " + " << c.inserted;
    }
}

// Pieces are joined with line feeds as lines are; each keeps its own origins,
// and a piece of several lines given one origin gives it to each of them.
TEST(MappedTextBuilder, EveryPieceStartsALineOfItsOwn) {
    MappedTextBuilder builder;
    builder.add(MappedText("a\nb", at(1)));
    builder.add("\n");
    builder.add(QByteArrayView(), at(7));
    builder.add("c", at(3));
    builder.add(sourceOf("x\ny"));
    const MappedText built = builder.take();
    EXPECT_EQ(built.text, QByteArray("a\nb\n\n\n\nc\nx\ny"));
    EXPECT_EQ(built.origins, (QList<LineOrigin>{at(1), at(1), LineOrigin(), LineOrigin(), at(7),
                                                at(3), at(1), at(2)}));

    // Taken, it starts again; given nothing, it makes one empty line.
    const MappedText nothing = builder.take();
    EXPECT_EQ(nothing.text, QByteArray());
    EXPECT_EQ(nothing.origins, QList<LineOrigin>{LineOrigin()});
    builder.add("z", at(4));
    EXPECT_EQ(builder.take().origins, QList<LineOrigin>{at(4)});
}

// Lines added as a range come out as added one by one, whether they stand
// one after another in their text or not: a line taken out between two, a
// line rewritten elsewhere, a line viewing only part of its text, empty lines.
TEST(MappedTextBuilder, LinesAddedTogetherAsOneByOne) {
    const QByteArray text = "one\ntwo\n\nfour\nfive six\nseven";
    const QByteArray rewritten = "TWO";
    Lines lines = splitLines(text);
    QList<LineOrigin> origins;
    for (int i = 1; i <= lines.size(); ++i)
        origins.append(at(i));
    const Lines asSplit = lines;
    Lines edited = lines;
    edited[1] = rewritten;                  // elsewhere
    edited[4] = asSplit[4].first(4);        // "five" and "six": one line read as two,
    edited.insert(5, asSplit[4].sliced(5)); // the blank between them is no line feed
    edited.remove(6);                       // "seven" taken out ...
    edited.append(QByteArrayView());        // ... and an empty line with no text
    edited.insert(3, asSplit[5]);           // a later line out of order
    QList<LineOrigin> editedOrigins = origins;
    editedOrigins.insert(5, at(5));
    editedOrigins.remove(6);
    editedOrigins.append(at(9));
    editedOrigins.insert(3, at(6));
    for (const auto& [viewed, viewedOrigins] :
         {std::pair{asSplit, origins}, std::pair{edited, editedOrigins}}) {
        for (qsizetype first = 0; first <= viewed.size(); ++first) {
            MappedTextBuilder oneByOne, together;
            oneByOne.add("head", at(50));
            together.add("head", at(50));
            for (qsizetype i = first; i < viewed.size(); ++i)
                oneByOne.addLine(viewed[i], viewedOrigins[i]);
            together.addLines(viewed, viewedOrigins, first, viewed.size());
            const MappedText a = oneByOne.take(), b = together.take();
            EXPECT_EQ(b.text, a.text) << first;
            EXPECT_EQ(b.origins, a.origins) << first;
        }
    }
}

} // namespace
