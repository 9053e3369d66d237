#include "text.h"

QString textFromBytes(const QByteArray& bytes) {
    const qsizetype nul = bytes.indexOf('\0');
    return QString::fromLatin1(nul < 0 ? bytes : bytes.left(nul));
}

QByteArray bytesFromText(QStringView text) {
    // toLatin1() already maps every character above 255 to '?'.
    return text.toLatin1();
}
