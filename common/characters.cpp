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
    QByteArray folded;
    setCaseFolded(folded, text);
    return folded;
}

void setCaseFolded(QByteArray& key, QByteArrayView text) {
    key.resize(text.size());
    char* out = key.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = foldCase(text[i]);
}
