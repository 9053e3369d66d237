#include "instantiate.h"

#include "characters.h"
#include "lines.h"
#include "namereplace.h"

#include <QSet>

#include <algorithm>
#include <cstring>

namespace {

// Appends the pieces of text between spaces, empty pieces dropped, joined
// with separator.
void appendWords(QByteArray& out, QByteArrayView text, char separator) {
    bool first = true;
    for (const QByteArrayView word : lineTokens(text)) {
        if (!first)
            out += separator;
        out += word;
        first = false;
    }
}

QByteArrayView argumentText(QByteArrayView use) {
    return use.sliced(3, use.size() - 6);
}

// The first position at or after from where c stands three times in a row,
// or -1. Most lines hold no '<' at all, which a search for the single byte
// settles fastest.
qsizetype findTriple(QByteArrayView text, char c, qsizetype from) {
    const char* data = text.data();
    const qsizetype size = text.size();
    while (from + 2 < size) {
        const void* found = std::memchr(data + from, c, size_t(size - from - 2));
        if (!found)
            return -1;
        const qsizetype at = static_cast<const char*>(found) - data;
        if (data[at + 1] == c && data[at + 2] == c)
            return at;
        from = at + 1;
    }
    return -1;
}

struct Instantiation {
    const TemplateTable& templateTable;
    QList<MappedText>& instanceLines;
    qsizetype longestName = 0;
    QSet<QByteArray> instanceNames;

    void useTemplate(const QByteArray& templateName, const QByteArray& suffix,
                     const QByteArray& argument);
    bool scanUses(QByteArrayView line, QByteArray& rewritten);
};

// The template name written directly in front of the end of text: the run of
// name characters there. Only a known template's name counts, so a run longer
// than every known name is not read to its start.
QByteArray nameBefore(const QByteArray& text, qsizetype longestName) {
    const qsizetype limit = std::max<qsizetype>(0, text.size() - longestName - 1);
    qsizetype start = text.size();
    while (start > limit && isNameChar(text[start - 1]))
        --start;
    return text.mid(start);
}

void Instantiation::useTemplate(const QByteArray& templateName, const QByteArray& suffix,
                                const QByteArray& argument) {
    // A use with no name in front of it, or a name no template was declared
    // under, only has its text rewritten: it gets no instance (a "type" line with
    // no body and no end line would only break the compile), and it does not
    // claim an instance name a known template may need later.
    const auto found = templateTable.constFind(templateName);
    if (templateName.isEmpty() || templateName.size() > longestName ||
        found == templateTable.constEnd())
        return;
    const QByteArray instanceName = templateName + suffix;
    if (instanceNames.contains(instanceName))
        return;
    instanceNames.insert(instanceName);
    instanceLines.append(instanceText(found.value(), templateName, instanceName, argument));
}

// One run of the use scan over a line, left to right; returns whether it
// changed the line, and puts the changed line in rewritten. Every use outside a string literal is
// replaced by its suffix, so that together with the name in front of it the line reads as the
// instance name. The replaced text can itself hold "<<<", so scanning goes on
// from the start of the suffix; a rewrite never makes a "<<<" that begins
// earlier. The text before the scan position is final: it is kept in done,
// with a running count of its double quotes, so each use costs time in
// proportion to its own length only.
bool Instantiation::scanUses(QByteArrayView line, QByteArray& rewritten) {
    if (findTriple(line, '<', 0) < 0)
        return false;
    QByteArray done;
    done.reserve(line.size());
    qsizetype quotes = 0;
    QByteArray rest = line.toByteArray(); // scanned from position at on
    qsizetype at = 0;
    qsizetype knownClose = -1; // the first ">>>" at or after the last "<<<" seen
    bool changed = false;

    const auto moveToDone = [&](qsizetype upTo) {
        const QByteArrayView moved = QByteArrayView(rest).sliced(at, upTo - at);
        quotes += std::count(moved.begin(), moved.end(), '"');
        done.append(moved);
        at = upTo;
    };

    for (;;) {
        const qsizetype open = findTriple(rest, '<', at);
        if (open < 0)
            break;
        const qsizetype close = knownClose >= open ? knownClose : findTriple(rest, '>', open);
        if (close < 0)
            break;
        knownClose = close;
        moveToDone(open);
        if (quotes % 2 == 1) { // inside a string literal
            moveToDone(open + 1);
            continue;
        }

        const QByteArrayView use = QByteArrayView(rest).sliced(open, close + 3 - open);
        const QByteArray suffix = useSuffix(use);
        const QByteArray argument = firstTypeArgument(use);
        const QByteArray templateName = nameBefore(done, longestName);

        if (suffix.size() <= use.size()) {
            at = close + 3 - suffix.size();
            std::copy(suffix.cbegin(), suffix.cend(), rest.begin() + at);
        } else {
            rest = suffix + rest.mid(close + 3);
            at = 0;
        }
        knownClose = -1;
        changed = true;
        useTemplate(templateName, suffix, argument);
    }
    if (changed) {
        done.append(QByteArrayView(rest).sliced(at));
        rewritten = std::move(done);
    }
    return changed;
}

} // namespace

QByteArray useSuffix(QByteArrayView use) {
    const QByteArrayView argument = argumentText(use);
    QByteArray suffix;
    suffix.reserve(argument.size() + 1);
    suffix += '_';
    appendWords(suffix, argument, '_');
    for (qsizetype i = 1; i < suffix.size(); ++i)
        suffix[i] = suffix[i] == ',' ? '_' : foldCase(suffix[i]);
    return suffix;
}

QByteArray firstTypeArgument(QByteArrayView use) {
    const QByteArrayView argument = argumentText(use);
    QByteArray joined;
    joined.reserve(argument.size());
    appendWords(joined, argument, ' ');
    const qsizetype comma = joined.indexOf(',');
    if (comma >= 0)
        joined.truncate(comma);
    return joined;
}

MappedText instanceText(const CapturedTemplate& captured, const QByteArray& templateName,
                        const QByteArray& instanceName, const QByteArray& typeArgument) {
    const QByteArray body = substituteTypeParameter(captured.lines.join('\n'), typeArgument);
    MappedText instance;
    instance.text =
        renameTemplate("type " + instanceName + "\n\n" + body, templateName, instanceName);

    // Neither substitution nor renaming adds or removes a line feed, so each
    // captured element still stands for its own lines: the first keeps its
    // origin, the empty lines a "\n" element makes have none.
    instance.origins = {captured.headerOrigin, LineOrigin()};
    for (qsizetype i = 0; i < captured.lines.size(); ++i) {
        instance.origins.append(captured.origins.value(i));
        for (qsizetype feeds = countLineFeeds(captured.lines[i]); feeds > 0; --feeds)
            instance.origins.append(LineOrigin());
    }
    if (captured.lines.isEmpty())
        instance.origins.append(LineOrigin());
    return instance;
}

void instantiateTemplates(Lines& lines, QByteArrayList& rewrittenLines,
                          const TemplateSet& templates, QList<MappedText>& instanceLines) {
    const qsizetype runs = templates.templateCount;
    if (runs == 0)
        return;
    const TemplateTable& table = templates.templateTable;
    Instantiation instantiation{table, instanceLines, 0, {}};
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        instantiation.longestName = std::max(instantiation.longestName, it.key().size());

    // The use scan runs over each line once per template declaration the pass
    // knows; a run that changes nothing would change nothing the next time
    // either.
    for (QByteArrayView& line : lines) {
        for (qsizetype run = 0; run < runs; ++run) {
            QByteArray rewritten;
            if (!instantiation.scanUses(line, rewritten))
                break;
            rewrittenLines.append(std::move(rewritten));
            line = rewrittenLines.last();
        }
    }
}
