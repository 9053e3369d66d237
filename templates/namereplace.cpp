#include "namereplace.h"

#include "characters.h"

QByteArray replaceWholeName(const QByteArray& text, QByteArrayView lead, QByteArrayView name,
                            QByteArrayView trail, QByteArrayView replacement) {
    QByteArray needle;
    needle.append(lead).append(name).append(trail);
    qsizetype found = text.indexOf(needle);
    if (found < 0 || needle.isEmpty())
        return text;
    QByteArray result;
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
        result.append(QByteArrayView(text).sliced(copied, found - copied));
        result.append(lead);
        result.append(replacement);
        result.append(trail);
        copied = found = end;
    }
    result.append(QByteArrayView(text).sliced(copied));
    return result;
}

namespace {

const QByteArrayView leadDelimiters = " (+-<>=";
const QByteArrayView trailDelimiters = " )+-<>=";

bool isLeadDelimiter(char c) {
    return leadDelimiters.contains(c);
}
bool isTrailDelimiter(char c) {
    return trailDelimiters.contains(c);
}

// The fourteen replacements one after another, each over the whole text.
QByteArray substituteByPatterns(const QByteArray& text, const QByteArray& argument) {
    const QByteArrayView parameter = "t1";
    QByteArray result = text;
    for (const char lead : leadDelimiters)
        result = replaceWholeName(result, QByteArrayView(&lead, 1), parameter, {}, argument);
    for (const char trail : trailDelimiters)
        result = replaceWholeName(result, {}, parameter, QByteArrayView(&trail, 1), argument);
    return result;
}

} // namespace

QByteArray substituteTypeParameter(const QByteArray& text, const QByteArray& argument) {
    // Seven patterns with the delimiter in front of "t1", then seven behind it.
    // Done one after another they give what one walk gives: an occurrence of
    // "t1" is replaced when it has a lead delimiter in front and no name
    // character behind, or a trail delimiter behind and no name character in
    // front. A replacement never changes the neighbours of another occurrence
    // that any pattern would take, since those are delimiters, and it makes
    // no new occurrence unless the argument holds "t1" itself; only then are
    // the patterns applied one by one.
    const QByteArrayView parameter = "t1";
    qsizetype found = text.indexOf(parameter);
    if (found < 0)
        return text;
    if (argument.contains(parameter))
        return substituteByPatterns(text, argument);
    QByteArray result;
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
        result.append(QByteArrayView(text).sliced(copied, found - copied));
        result.append(argument);
        copied = end;
    }
    result.append(QByteArrayView(text).sliced(copied));
    return result;
}

QByteArray renameTemplate(const QByteArray& text, const QByteArray& templateName,
                          const QByteArray& instanceName) {
    if (templateName.isEmpty())
        return text;
    QByteArray result = text;
    for (const char follower : QByteArrayView(". ("))
        result =
            replaceWholeName(result, {}, templateName, QByteArrayView(&follower, 1), instanceName);
    return result;
}
