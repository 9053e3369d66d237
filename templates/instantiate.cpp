#include "instantiate.h"

#include "blockscanner.h"
#include "characters.h"
#include "codelexer.h"
#include "lines.h"
#include "namereplace.h"

#include <QSet>
#include <QVarLengthArray>

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
    QList<Instance>& instances;
    qsizetype longestName = 0;
    QSet<QByteArray> instanceNames;
    qsizetype anchor = 0; // where an instance first used on the current line goes

    bool rewriteLine(QByteArrayView line, QByteArrayView code, QByteArray& out);
    void rewriteUse(QByteArray& out, qsizetype open);
    void useTemplate(const QByteArray& templateName, const QByteArray& suffix,
                     const QByteArray& argument);
};

// The template name written directly in front of position end of text: the
// run of name characters there. Only a known template's name counts, so a run
// longer than every known name is not read to its start.
QByteArray nameBefore(const QByteArray& text, qsizetype end, qsizetype longestName) {
    const qsizetype limit = std::max<qsizetype>(0, end - longestName - 1);
    qsizetype start = end;
    while (start > limit && isNameChar(text[start - 1]))
        --start;
    return text.mid(start, end - start);
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
    instances.append(Instance{
        instanceName, instanceText(found.value(), templateName, instanceName, argument), anchor});
}

// The use whose "<<<" stands at open in out and whose ">>>" ends out: the
// use is replaced by its suffix, so that together with the name in front of
// it the text reads as the instance name.
void Instantiation::rewriteUse(QByteArray& out, qsizetype open) {
    const QByteArrayView use = QByteArrayView(out).sliced(open);
    const QByteArray suffix = useSuffix(use);
    const QByteArray argument = firstTypeArgument(use);
    const QByteArray templateName = nameBefore(out, open, longestName);
    out.truncate(open);
    out += suffix;
    useTemplate(templateName, suffix, argument);
}

// Rewrites the uses in the code of a line, each innermost use first, so that
// the type of a use may itself be a use. The text is copied into out as it is
// read: the "<<<" met and not yet closed are remembered by where they stand in
// out, and a ">>>" closes the last of them. Returns whether anything changed.
bool Instantiation::rewriteLine(QByteArrayView line, QByteArrayView code, QByteArray& out) {
    if (findTriple(code, '<', 0) < 0)
        return false;
    out.reserve(line.size() + 16);
    QVarLengthArray<qsizetype, 8> opens;
    bool changed = false;
    qsizetype i = 0;
    while (i < code.size()) {
        qsizetype next = i;
        while (next < code.size() && code[next] != '<' && code[next] != '>')
            ++next;
        out.append(line.sliced(i, next - i));
        i = next;
        if (i == code.size())
            break;
        const QByteArrayView rest = code.sliced(i);
        if (rest.startsWith("<<<")) {
            opens.append(out.size());
            out.append(line.sliced(i, 3));
            i += 3;
        } else if (rest.startsWith(">>>") && !opens.isEmpty()) {
            out.append(line.sliced(i, 3));
            rewriteUse(out, opens.back());
            opens.removeLast();
            changed = true;
            i += 3;
        } else {
            out.append(line[i]);
            ++i;
        }
    }
    out.append(line.sliced(i));
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
                          const TemplateSet& templates, QList<Instance>& instances) {
    const TemplateTable& table = templates.templateTable;
    if (table.isEmpty())
        return;
    Instantiation instantiation{table, instances, 0, {}, 0};
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        instantiation.longestName = std::max(instantiation.longestName, it.key().size());

    CodeLexer lexer;
    BlockScanner blocks;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView code = lexer.next(lines[i]);
        instantiation.anchor = blocks.next(i, code, lexer);
        QByteArray rewritten;
        if (instantiation.rewriteLine(lines[i], code, rewritten)) {
            rewrittenLines.append(std::move(rewritten));
            lines[i] = rewrittenLines.last();
        }
    }
}
