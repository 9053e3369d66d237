#include "linenumbering.h"

#include <QRegularExpression>

namespace {

const QRegularExpression& directivePattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*#line\\s+(\\d+)(?:\\s+\"([^\"]*)\")?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

} // namespace

QList<NumberedLine> numberLines(const QString& text, const QString& fileName) {
    QList<NumberedLine> numbered;
    QString file = fileName;
    int next = 1;
    for (const QString& line : text.split(u'\n')) {
        const QRegularExpressionMatch match = directivePattern().match(line);
        if (match.hasMatch()) {
            next = match.captured(1).toInt() + 1;
            if (match.hasCaptured(2))
                file = match.captured(2);
            continue;
        }
        numbered.append(NumberedLine{line, file, next});
        ++next;
    }
    return numbered;
}

QString withoutLineDirectives(const QString& text) {
    QStringList kept;
    for (const QString& line : text.split(u'\n')) {
        if (!directivePattern().match(line).hasMatch())
            kept.append(line);
    }
    return kept.join(u'\n');
}

QByteArray withoutLineDirectives(const QByteArray& bytes) {
    return withoutLineDirectives(QString::fromLatin1(bytes)).toLatin1();
}
