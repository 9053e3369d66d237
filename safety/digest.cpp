#include "digest.h"

#include <QCryptographicHash>
#include <QtEndian>

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

QByteArray contentDigest(const QByteArray& bytes) {
    const auto* at = reinterpret_cast<const uchar*>(bytes.constData());
    const quint64 size = quint64(bytes.size());
    quint64 lanes[4] = {prime1 + prime2, prime2, 0, quint64(0) - prime1};
    quint64 left = size;
    for (; left >= 32; left -= 32, at += 32)
        stripe(lanes, at);
    // The rest, padded with zeros to a whole stripe; the size tells "x" from "x\0".
    uchar last[32] = {};
    if (left > 0)
        std::memcpy(last, at, size_t(left));
    stripe(lanes, last);

    quint64 low = size * prime5;
    quint64 high = ~size * prime4;
    for (int i = 0; i < 4; ++i) {
        low = (low ^ mixRound(0, lanes[i])) * prime1 + prime4;
        high = (high ^ mixRound(0, rotateLeft(lanes[3 - i], 23))) * prime3 + prime5;
    }
    QByteArray digest(16, Qt::Uninitialized);
    qToLittleEndian(avalanche(low), digest.data());
    qToLittleEndian(avalanche(high), digest.data() + 8);
    return digest;
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
