#include "lines.h"

QStringList splitLines(const QString& text) {
    return text.split(u'\n');
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
