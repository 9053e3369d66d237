#include "digest.h"

#include <QCryptographicHash>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

// Four lanes of 64-bit multiply-rotate rounds over 32-byte stripes, merged
// into two differently mixed halves of 64 bits each.
constexpr quint64 prime1 = 0x9E3779B185EBCA87ULL;
constexpr quint64 prime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr quint64 prime3 = 0x165667B19E3779F9ULL;
constexpr quint64 prime4 = 0x85EBCA77C2B2AE63ULL;
constexpr quint64 prime5 = 0x27D4EB2F165667C5ULL;

quint64 rotateLeft(quint64 value, int bits) {
    return (value << bits) | (value >> (64 - bits));
}

quint64 mixRound(quint64 lane, quint64 input) {
    return rotateLeft(lane + input * prime2, 31) * prime1;
}

quint64 avalanche(quint64 hash) {
    hash ^= hash >> 33;
    hash *= prime2;
    hash ^= hash >> 29;
    hash *= prime3;
    return hash ^ (hash >> 32);
}

quint64 word(const uchar* at) {
    return qFromLittleEndian<quint64>(at);
}

void stripe(quint64 (&lanes)[4], const uchar* at) {
    for (int i = 0; i < 4; ++i)
        lanes[i] = mixRound(lanes[i], word(at + 8 * size_t(i)));
}

} // namespace

ContentDigestStream::ContentDigestStream()
    : lanes{prime1 + prime2, prime2, 0, quint64(0) - prime1} {}

void ContentDigestStream::add(QByteArrayView piece) {
    const auto* at = reinterpret_cast<const uchar*>(piece.data());
    quint64 left = quint64(piece.size());
    size += left;
    if (pendingSize > 0) {
        const quint64 taken = std::min<quint64>(left, quint64(32 - pendingSize));
        std::memcpy(pending + pendingSize, at, size_t(taken));
        pendingSize += int(taken);
        at += taken;
        left -= taken;
        if (pendingSize < 32)
            return;
        stripe(lanes, pending);
        pendingSize = 0;
    }
    for (; left >= 32; left -= 32, at += 32)
        stripe(lanes, at);
    if (left > 0)
        std::memcpy(pending, at, size_t(left));
    pendingSize = int(left);
}

QByteArray ContentDigestStream::finish() const {
    quint64 ended[4] = {lanes[0], lanes[1], lanes[2], lanes[3]};
    // The rest, padded with zeros to a whole stripe; the size tells "x" from "x\0".
    uchar last[32] = {};
    std::memcpy(last, pending, size_t(pendingSize));
    stripe(ended, last);

    quint64 low = size * prime5;
    quint64 high = ~size * prime4;
    for (int i = 0; i < 4; ++i) {
        low = (low ^ mixRound(0, ended[i])) * prime1 + prime4;
        high = (high ^ mixRound(0, rotateLeft(ended[3 - i], 23))) * prime3 + prime5;
    }
    QByteArray digest(16, Qt::Uninitialized);
    qToLittleEndian(avalanche(low), digest.data());
    qToLittleEndian(avalanche(high), digest.data() + 8);
    return digest;
}

QByteArray contentDigest(const QByteArray& bytes) {
    ContentDigestStream stream;
    stream.add(bytes);
    return stream.finish();
}

bool DigestOf::matches(const QByteArray& recorded) const {
    if (recorded.size() == 20) {
        if (sha1.isEmpty())
            sha1 = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
        return sha1 == recorded;
    }
    if (digest.isEmpty())
        digest = contentDigest(bytes);
    return digest == recorded;
}

bool DigestOf::matchesAny(const QList<QByteArray>& recorded) const {
    for (const QByteArray& one : recorded) {
        if (matches(one))
            return true;
    }
    return false;
}

DigestOfPieces::DigestOfPieces(const QList<QByteArray>& recorded) : recorded(recorded) {
    for (const QByteArray& one : recorded) {
        if (one.size() == 20) {
            sha1.emplace(QCryptographicHash::Sha1);
            break;
        }
    }
}

void DigestOfPieces::add(QByteArrayView piece) {
    digest.add(piece);
    if (sha1)
        sha1->addData(piece);
}

bool DigestOfPieces::matchesAny() const {
    const QByteArray content = digest.finish();
    const QByteArray legacy = sha1 ? sha1->result() : QByteArray();
    for (const QByteArray& one : recorded) {
        if (one == (one.size() == 20 ? legacy : content))
            return true;
    }
    return false;
}
