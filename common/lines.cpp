#include "lines.h"

QStringList splitLines(const QString& text) {
    return text.split(u'\n');
}

Tokens lineTokens(QStringView line) {
    Tokens tokens;
    const qsizetype size = line.size();
    qsizetype i = 0;
    while (i < size) {
        while (i < size && line[i] == u' ')
            ++i;
        const qsizetype start = i;
        while (i < size && line[i] != u' ')
            ++i;
        if (i > start)
            tokens.append(line.mid(start, i - start));
    }
    return tokens;
}
