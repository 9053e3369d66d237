#include "typeblocks.h"

#include "lines.h"

#include <cstring>

namespace {

bool isEndTypeLine(const Tokens& tokens) {
    return tokens.size() >= 2 && isKeyword(tokens[0], "end") && isKeyword(tokens[1], "type");
}

// "type Name" alone, or "type D extends P" with anything after it.
bool opensBlock(const Tokens& tokens) {
    return isExtendsLine(tokens) || (tokens.size() == 2 && isKeyword(tokens[0], "type"));
}

} // namespace

MappedText replacementText(const TypeRecord& record) {
    MappedTextBuilder text;
    for (const MappedText* part : {&record.inheritedDeclareText, &record.twinBlockText,
                                   &record.twinMethodText, &record.inheritedForwarderText})
        text.add(*part);
    text.add(QByteArrayView());
    return text.take();
}

MappedText replaceTypeBlocks(const Lines& lines, const QList<LineOrigin>& origins,
                             const QList<TypeRecord>& records, const Inheritance& inheritance) {
    const RecordIndex index(records);
    // A type declared twice (in two branches of a conditional block, say)
    // keeps each block's own texts: a block is replaced by the record made
    // from its own type line, and only a line the scan never saw is looked up
    // by name.
    QHash<qsizetype, qsizetype> recordAtLine;
    for (qsizetype r = 0; r < records.size(); ++r)
        recordAtLine.insert(records[r].typeLine, r);
    MappedTextBuilder writer;
    qsizetype bytes = 0;
    for (const QByteArrayView line : lines)
        bytes += line.size() + 1;
    writer.reserve(bytes * 2, lines.size() * 2);

    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!firstTokenMayBe(lines[i], "type")) {
            writer.add(lines[i], origins.value(i));
            continue;
        }
        const Tokens tokens = lineTokens(lines[i]);
        if (!opensBlock(tokens)) {
            writer.add(lines[i], origins.value(i));
            continue;
        }
        const qsizetype found = recordAtLine.value(i, index.find(tokens[1]));
        qsizetype end = i;
        while (end < lines.size() && !isEndTypeLine(lineTokens(lines[end])))
            ++end;
        const bool leftAlone = found < 0 || inheritance.isNative(tokens[1]) ||
                               (!records[found].hasTwin && records[found].parentName.isEmpty());
        if (leftAlone) {
            // A type that no record stands for (declared inside a procedure
            // body the scan took away), one that the compiler's own
            // inheritance handles, and one that nothing here extends or is
            // extended by keep their blocks as written.
            for (; i <= end && i < lines.size(); ++i)
                writer.add(lines[i], origins.value(i));
            --i;
            continue;
        }
        if (end < lines.size())
            writer.add(replacementText(records[found]));
        i = end;
    }
    return writer.take();
}

void stripExtendsClauses(MappedText& text, const Inheritance& inheritance) {
    // Each rewritten line only gets shorter, so the text is compacted in place:
    // everything before `copied` has been moved down to end at `written`.
    QByteArray& source = text.text;
    char* data = nullptr;
    qsizetype written = 0;
    qsizetype copied = 0;
    const auto moveDown = [&](qsizetype from, qsizetype length) {
        std::memmove(data + written, data + from, size_t(length));
        written += length;
    };
    for (qsizetype start = 0; start <= source.size();) {
        qsizetype end = source.indexOf('\n', start);
        if (end < 0)
            end = source.size();
        const QByteArrayView line = QByteArrayView(source).sliced(start, end - start);
        if (!firstTokenMayBe(line, "type")) {
            start = end + 1;
            continue;
        }
        const Tokens tokens = lineTokens(line);
        if (isExtendsLine(tokens) && !inheritance.isNative(tokens[1])) {
            // Positions within the line, as the line may move when the text detaches.
            const qsizetype keyword = tokens[0].data() - line.data();
            const qsizetype name = tokens[1].data() - line.data();
            const qsizetype nameLength = tokens[1].size();
            const qsizetype keywordLength = tokens[0].size();
            if (!data) {
                data = source.data();
                written = copied = start;
            }
            moveDown(copied, start - copied);
            moveDown(start + keyword, keywordLength);
            data[written++] = ' ';
            moveDown(start + name, nameLength);
            copied = end;
        }
        start = end + 1;
    }
    if (!data)
        return;
    moveDown(copied, source.size() - copied);
    source.truncate(written);
}
