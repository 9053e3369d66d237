// The digest is written into journals and read by the next run, possibly of a
// later version: its values must never change, and journals of earlier
// versions (SHA-1) must still be understood.

#include "digest.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

namespace {

struct Pinned {
    QByteArray bytes;
    const char* digest;
};

TEST(Digest, ValuesNeverChangeAndTellNearTextsApart) {
    const Pinned pinned[] = {
        {QByteArray(), "d0aede3f0dd8890cceabec9a824fad44"},
        {QByteArray("x"), "7b53b0e42585e3d58a1ad7e7d0698ac7"},
        {QByteArray("x\0", 2), "028995a19933863835d276d3d6b5bb8d"},
        {QByteArray(31, 'a'), "6122131f8d57707ac04394080bc7266b"},
        {QByteArray(32, 'a'), "f03cdb5497c2169c5c3acb6623346dc1"},
        {QByteArray(33, 'a'), "6824ca406db6c7ed53ff2a30761e5496"},
        {QByteArray("print \"hello\"\r\n"), "efbfd62daf71de47abd7eb289f4f62c4"},
    };
    for (const Pinned& one : pinned)
        EXPECT_EQ(contentDigest(one.bytes).toHex(), QByteArray(one.digest)) << one.bytes.size();

    // Every one-byte change of a large text gives another digest.
    QByteArray text(100000, 'a');
    const QByteArray original = contentDigest(text);
    for (qsizetype at : {qsizetype(0), qsizetype(31), qsizetype(32), qsizetype(99999)}) {
        text[at] = 'b';
        EXPECT_NE(contentDigest(text), original) << at;
        text[at] = 'a';
    }
}

TEST(Digest, ATextMatchesDigestsRecordedInEitherForm) {
    const QByteArray text = "dim x as integer\n";
    const QByteArray sha1 = QCryptographicHash::hash(text, QCryptographicHash::Sha1);
    const DigestOf digest(text);
    EXPECT_TRUE(digest.matches(contentDigest(text)));
    EXPECT_TRUE(digest.matches(sha1));
    EXPECT_FALSE(digest.matches(contentDigest("dim y as integer\n")));
    EXPECT_FALSE(digest.matches(QByteArray(20, '\0')));
    EXPECT_TRUE(digest.matchesAny({contentDigest("other"), sha1}));
    EXPECT_FALSE(digest.matchesAny({}));
}

TEST(Digest, ATextGivenInPiecesHasTheSameDigest) {
    QByteArray text;
    for (int i = 0; i < 300; ++i)
        text += char('a' + i * 7 % 26);
    const QByteArray sha1 = QCryptographicHash::hash(text, QCryptographicHash::Sha1);
    // Pieces that end inside, at and across the 32-byte stripes.
    for (const int pieceSize : {1, 5, 31, 32, 33, 64, 299, 300}) {
        ContentDigestStream stream;
        DigestOfPieces legacy({sha1});
        DigestOfPieces current({QByteArray(20, '\0'), contentDigest(text)});
        DigestOfPieces other({contentDigest(text + 'x')});
        for (qsizetype at = 0; at < text.size(); at += pieceSize) {
            const QByteArrayView piece = QByteArrayView(text).sliced(at).first(
                std::min<qsizetype>(pieceSize, text.size() - at));
            stream.add(piece);
            legacy.add(piece);
            current.add(piece);
            other.add(piece);
        }
        EXPECT_EQ(stream.finish(), contentDigest(text)) << pieceSize;
        EXPECT_TRUE(legacy.matchesAny()) << pieceSize;
        EXPECT_TRUE(current.matchesAny()) << pieceSize;
        EXPECT_FALSE(other.matchesAny()) << pieceSize;
    }
}

} // namespace
