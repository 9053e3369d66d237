#include "linenumbering.h"

#include <QFile>
#include <QRegularExpression>

namespace {

const QRegularExpression& directivePattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*#line\\s+(\\d+)(?:\\s+\"([^\"]*)\")?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// The lines as the compiler splits them.
QList<QByteArray> compilerLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    lines.append(bytes.mid(start));
    return lines;
}

} // namespace

QList<NumberedLine> numberLines(const QByteArray& bytes, const QString& fileName) {
    QList<NumberedLine> numbered;
    QString file = fileName;
    int next = 1;
    for (const QByteArray& line : compilerLines(bytes)) {
        const QRegularExpressionMatch match = directivePattern().match(QString::fromLatin1(line));
        if (match.hasMatch()) {
            next = match.captured(1).toInt() + 1;
            if (match.hasCaptured(2))
                file = QFile::decodeName(match.captured(2).toLatin1());
            continue;
        }
        numbered.append(NumberedLine{QString::fromLatin1(line), file, next});
        ++next;
    }
    return numbered;
}

QByteArray withoutLineDirectives(const QByteArray& bytes) {
    QList<QByteArray> kept;
    for (const QByteArray& line : bytes.split('\n')) {
        if (!directivePattern().match(QString::fromLatin1(line)).hasMatch())
            kept.append(line);
    }
    return kept.join('\n');
}
