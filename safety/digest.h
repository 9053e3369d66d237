#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QCryptographicHash>
#include <QList>

#include <optional>

// The digest under which the bytes of a source file are remembered (its
// original, and each text written into it), so that a restore can tell this
// program's text from the user's. It guards against accident (an editor's
// save, another tool), not against an attacker who could write the file
// anyway, so a fast non-cryptographic 128-bit hash serves: it runs at memory
// speed, where SHA-1 took a third of a large run.
QByteArray contentDigest(const QByteArray& bytes);

// The same digest of a text given in pieces, so that a large file can be
// checked without holding a second copy of it: finish() after the last piece
// gives what contentDigest gives for the pieces joined.
class ContentDigestStream {
public:
    ContentDigestStream();
    void add(QByteArrayView piece);
    QByteArray finish() const;

private:
    quint64 lanes[4];
    unsigned char pending[32] = {}; // the start of a stripe not yet whole
    int pendingSize = 0;
    quint64 size = 0;
};

// The digests of one text, each computed once and only when asked for, in the
// form a recorded digest takes: journals written by earlier versions of the
// program hold SHA-1 digests (20 bytes), and are still honoured.
class DigestOf {
public:
    explicit DigestOf(const QByteArray& bytes) : bytes(bytes) {}
    bool matches(const QByteArray& recorded) const;
    bool matchesAny(const QList<QByteArray>& recorded) const;

private:
    const QByteArray& bytes;
    mutable QByteArray digest;
    mutable QByteArray sha1;
};

// DigestOf::matchesAny for a text given in pieces (a file read in pieces):
// the SHA-1 is computed only when one of the recorded digests is one.
class DigestOfPieces {
public:
    explicit DigestOfPieces(const QList<QByteArray>& recorded);
    void add(QByteArrayView piece);
    // After the last piece.
    bool matchesAny() const;

private:
    QList<QByteArray> recorded;
    ContentDigestStream digest;
    std::optional<QCryptographicHash> sha1;
};
