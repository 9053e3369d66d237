#include "characters.h"

qsizetype indexOfIgnoringCase(QByteArrayView text, QByteArrayView needle, qsizetype from) {
    if (needle.isEmpty())
        return from <= text.size() ? from : -1;
    const char first = foldCase(needle[0]);
    for (qsizetype at = from; at + needle.size() <= text.size(); ++at) {
        if (foldCase(text[at]) == first && startsWithIgnoringCase(text.sliced(at), needle))
            return at;
    }
    return -1;
}

QByteArray caseFolded(QByteArrayView text) {
    QByteArray folded(text.size(), Qt::Uninitialized);
    char* out = folded.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = foldCase(text[i]);
    return folded;
}
