#include "digest.h"

#include <QCryptographicHash>

QByteArray contentDigest(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}
