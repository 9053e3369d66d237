#pragma once

#include <QByteArray>
#include <QList>

// The digest under which the bytes of a source file are remembered (its
// original, and each text written into it), so that a restore can tell this
// program's text from the user's. It guards against accident (an editor's
// save, another tool), not against an attacker who could write the file
// anyway, so a fast non-cryptographic 128-bit hash serves: it runs at memory
// speed, where SHA-1 took a third of a large run.
QByteArray contentDigest(const QByteArray& bytes);

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
