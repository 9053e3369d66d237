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

namespace {

bool isLeadDelimiter(QChar c) {
    return QStringView(u" (+-<>=").contains(c);
}
bool isTrailDelimiter(QChar c) {
    return QStringView(u" )+-<>=").contains(c);
}

// The fourteen replacements one after another, each over the whole text.
QString substituteByPatterns(const QString& text, const QString& argument) {
    const QStringView parameter = u"t1";
    QString result = text;
    for (const QChar lead : QStringView(u" (+-<>="))
        result = replaceWholeName(result, QStringView(&lead, 1), parameter, {}, argument);
    for (const QChar trail : QStringView(u" )+-<>="))
        result = replaceWholeName(result, {}, parameter, QStringView(&trail, 1), argument);
    return result;
}

} // namespace

QString substituteTypeParameter(const QString& text, const QString& argument) {
    // Seven patterns with the delimiter in front of "t1", then seven behind it.
    // Done one after another they give what one walk gives: an occurrence of
    // "t1" is replaced when it has a lead delimiter in front and no name
    // character behind, or a trail delimiter behind and no name character in
    // front. A replacement never changes the neighbours of another occurrence
    // that any pattern would take, since those are delimiters, and it makes
    // no new occurrence unless the argument holds "t1" itself; only then are
    // the patterns applied one by one.
    const QStringView parameter = u"t1";
    qsizetype found = text.indexOf(parameter);
    if (found < 0)
        return text;
    if (argument.contains(parameter))
        return substituteByPatterns(text, argument);
    QString result;
    result.reserve(text.size() + argument.size() * 4);
    qsizetype copied = 0;
    for (; found >= 0; found = text.indexOf(parameter, found + parameter.size())) {
        const qsizetype end = found + parameter.size();
        const bool hasBefore = found > 0;
        const bool hasAfter = end < text.size();
        const bool leadOpen =
            hasBefore && isLeadDelimiter(text[found - 1]) && (!hasAfter || !isNameChar(text[end]));
        const bool trailOpen =
            hasAfter && isTrailDelimiter(text[end]) && (!hasBefore || !isNameChar(text[found - 1]));
        if (!leadOpen && !trailOpen)
            continue;
        result.append(QStringView(text).mid(copied, found - copied));
        result.append(argument);
        copied = end;
    }
    result.append(QStringView(text).mid(copied));
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
