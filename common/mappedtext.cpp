#include "mappedtext.h"

#include "lines.h"

#include <QHash>

#include <deque>

namespace {

// The file names origins refer to; number 0 is the empty name. A deque keeps
// every stored name in place as more are added.
struct FileNames {
    std::deque<QString> names{QString()};
    QHash<QString, int> numbers{{QString(), 0}};
};

FileNames& fileNames() {
    static FileNames table;
    return table;
}

} // namespace

int LineOrigin::numberOfFile(const QString& file) {
    FileNames& table = fileNames();
    const auto found = table.numbers.constFind(file);
    if (found != table.numbers.constEnd())
        return found.value();
    const int number = int(table.names.size());
    table.names.push_back(file);
    table.numbers.insert(file, number);
    return number;
}

const QString& LineOrigin::file() const {
    return fileNames().names[size_t(fileNumber)];
}

MappedText::MappedText(const QString& text, const LineOrigin& origin)
    : text(text), origins(countLineFeeds(text) + 1, origin) {}

MappedText MappedText::fromLines(const QStringList& lines, const QList<LineOrigin>& origins) {
    MappedText result;
    result.text = lines.join(u'\n');
    result.origins = origins;
    if (result.origins.isEmpty())
        result.origins.append(LineOrigin());
    return result;
}

MappedText MappedText::joinLines(const QList<MappedText>& parts) {
    MappedText result;
    if (parts.isEmpty())
        return result;
    qsizetype characters = parts.size();
    qsizetype lineCount = 0;
    for (const MappedText& part : parts) {
        characters += part.text.size();
        lineCount += part.origins.size();
    }
    result.text.reserve(characters);
    result.origins.clear();
    result.origins.reserve(lineCount);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            result.text += u'\n';
        result.text += parts[i].text;
        result.origins += parts[i].origins;
    }
    return result;
}

void MappedText::append(const MappedText& other) {
    const bool lastLineEmpty = text.isEmpty() || text.endsWith(u'\n');
    if (lastLineEmpty)
        origins.last() = other.origins.first();
    origins.append(other.origins.constBegin() + 1, other.origins.constEnd());
    text += other.text;
}

void MappedText::append(const QString& more, const LineOrigin& origin) {
    append(MappedText(more, origin));
}

void MappedText::appendLines(const QStringList& lines, const QList<LineOrigin>& lineOrigins) {
    const bool lastLineEmpty = text.isEmpty() || text.endsWith(u'\n');
    if (lastLineEmpty)
        origins.last() = lineOrigins.isEmpty() ? LineOrigin() : lineOrigins.first();
    if (lineOrigins.size() > 1)
        origins.append(lineOrigins.constBegin() + 1, lineOrigins.constEnd());
    qsizetype size = text.size() + lines.size();
    for (const QString& line : lines)
        size += line.size();
    text.reserve(size);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += u'\n';
        text += lines[i];
    }
}

void MappedText::insert(qsizetype position, const MappedText& other) {
    const qsizetype line = countLineFeeds(QStringView(text).left(position));
    const qsizetype lineStart = position == 0 ? 0 : text.lastIndexOf(u'\n', position - 1) + 1;
    qsizetype lineEnd = text.indexOf(u'\n', position);
    if (lineEnd < 0)
        lineEnd = text.size();
    const bool headEmpty = position == lineStart;
    const bool tailEmpty = position == lineEnd;

    QList<LineOrigin> inserted = other.origins;
    if (inserted.size() == 1) {
        // Everything lands inside one line: it keeps its origin unless it was empty.
        const bool otherEmpty = other.text.isEmpty();
        if (headEmpty && tailEmpty && !otherEmpty)
            origins[line] = inserted.first();
    } else {
        const LineOrigin original = origins[line];
        const qsizetype otherLastStart = other.text.lastIndexOf(u'\n') + 1;
        const bool otherLastEmpty = otherLastStart == other.text.size();
        if (!headEmpty)
            inserted.first() = original;
        if (otherLastEmpty && !tailEmpty)
            inserted.last() = original;
        origins.remove(line);
        origins.insert(line, inserted.size(), LineOrigin());
        std::copy(inserted.cbegin(), inserted.cend(), origins.begin() + line);
    }
    text.insert(position, other.text);
}
