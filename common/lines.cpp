#include "lines.h"

QStringList splitLines(const QString& text) {
    return text.split(u'\n');
}

QStringList splitLinesOver(const QString& text) {
    QStringList lines;
    lines.reserve(countLineFeeds(text) + 1);
    const QChar* data = text.constData();
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(u'\n', start);
        const qsizetype stop = end < 0 ? text.size() : end;
        lines.append(stop > start ? QString::fromRawData(data + start, stop - start) : QString());
        if (end < 0)
            break;
        start = end + 1;
    }
    return lines;
}

Tokens lineTokens(QStringView line) {
    Tokens tokens;
    const char16_t* data = line.utf16();
    const qsizetype size = line.size();
    qsizetype i = 0;
    for (;;) {
        while (i < size && data[i] == u' ')
            ++i;
        if (i == size)
            break;
        const qsizetype start = i;
        while (i < size && data[i] != u' ')
            ++i;
        tokens.append(QStringView(data + start, i - start));
    }
    return tokens;
}
