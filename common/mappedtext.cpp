#include "mappedtext.h"

#include "lines.h"

#include <QHash>

#include <algorithm>

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

MappedText::MappedText(const QByteArray& text, const LineOrigin& origin)
    : text(text), origins(countLineFeeds(text) + 1, origin) {}

void MappedText::append(const MappedText& other) {
    const bool lastLineEmpty = text.isEmpty() || text.endsWith('\n');
    if (lastLineEmpty)
        origins.last() = other.origins.first();
    origins.append(other.origins.constBegin() + 1, other.origins.constEnd());
    text += other.text;
}

void MappedText::insert(qsizetype position, const MappedText& other) {
    const qsizetype line = countLineFeeds(QByteArrayView(text).first(position));
    const qsizetype lineStart = position == 0 ? 0 : text.lastIndexOf('\n', position - 1) + 1;
    qsizetype lineEnd = text.indexOf('\n', position);
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
        const qsizetype otherLastStart = other.text.lastIndexOf('\n') + 1;
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

void MappedTextBuilder::reserve(qsizetype bytes, qsizetype lines) {
    built.text.reserve(bytes);
    built.origins.reserve(lines);
}

void MappedTextBuilder::startPiece() {
    if (!empty)
        built.text += '\n';
    empty = false;
}

void MappedTextBuilder::add(QByteArrayView piece, const LineOrigin& origin) {
    startPiece();
    built.text += piece;
    const qsizetype lines = countLineFeeds(piece) + 1;
    if (lines == 1)
        built.origins.append(origin);
    else
        built.origins.insert(built.origins.size(), lines, origin);
}

void MappedTextBuilder::add(const MappedText& piece) {
    startPiece();
    built.text += piece.text;
    built.origins += piece.origins;
}

MappedText MappedTextBuilder::take() {
    if (empty)
        return MappedText();
    empty = true;
    return std::move(built);
}
