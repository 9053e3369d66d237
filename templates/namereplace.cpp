#include "namereplace.h"

#include "lines.h"

QString replaceWholeName(const QString& text, QStringView lead, QStringView name, QStringView trail,
                         QStringView replacement) {
    QString needle;
    needle.append(lead).append(name).append(trail);
    qsizetype found = text.indexOf(needle);
    if (found < 0 || needle.isEmpty())
        return text;
    QString result;
    result.reserve(text.size());
    qsizetype copied = 0;
    for (; found >= 0; found = text.indexOf(needle, found)) {
        const qsizetype end = found + needle.size();
        const bool openBefore = !lead.isEmpty() || found == 0 || !isNameChar(text[found - 1]);
        const bool openAfter = !trail.isEmpty() || end == text.size() || !isNameChar(text[end]);
        if (!openBefore || !openAfter) {
            ++found;
            continue;
        }
        result.append(QStringView(text).mid(copied, found - copied));
        result.append(lead);
        result.append(replacement);
        result.append(trail);
        copied = found = end;
    }
    result.append(QStringView(text).mid(copied));
    return result;
}

QString substituteTypeParameter(const QString& text, const QString& argument) {
    // Seven patterns with the delimiter in front of "t1", then seven behind it.
    const QStringView parameter = u"t1";
    QString result = text;
    if (!result.contains(parameter))
        return result;
    for (const QChar lead : QStringView(u" (+-<>="))
        result = replaceWholeName(result, QStringView(&lead, 1), parameter, {}, argument);
    for (const QChar trail : QStringView(u" )+-<>="))
        result = replaceWholeName(result, {}, parameter, QStringView(&trail, 1), argument);
    return result;
}

QString renameTemplate(const QString& text, const QString& templateName,
                       const QString& instanceName) {
    if (templateName.isEmpty())
        return text;
    QString result = text;
    for (const QChar follower : QStringView(u". (")) {
        result =
            replaceWholeName(result, {}, templateName, QStringView(&follower, 1), instanceName);
    }
    return result;
}
