#include "mappedtext.h"

#include "lines.h"

#include <QHash>

#include <algorithm>
#include <cstring>

#include <deque>
#include <mutex>

namespace {

// The file names origins refer to; number 0 is the empty name. A deque keeps
// every stored name in place as more are added. The template pass reads
// names on its own thread while it names the next files it reads.
struct FileNames {
    std::mutex mutex; // guards what follows
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
    const std::lock_guard<std::mutex> lock(table.mutex);
    const auto found = table.numbers.constFind(file);
    if (found != table.numbers.constEnd())
        return found.value();
    const int number = int(table.names.size());
    table.names.push_back(file);
    table.numbers.insert(file, number);
    return number;
}

const QString& LineOrigin::file() const {
    FileNames& table = fileNames();
    const std::lock_guard<std::mutex> lock(table.mutex);
    return table.names[size_t(fileNumber)];
}

QList<LineOrigin> MappedText::oneLineWithoutOrigin() {
    static const QList<LineOrigin> shared{LineOrigin()};
    return shared;
}

MappedText::MappedText(const QByteArray& text, const LineOrigin& origin)
    : text(text), origins(countLineFeeds(text) + 1, origin) {}

bool MappedText::hasOneOriginPerLine() const {
    return origins.size() == countLineFeeds(text) + 1;
}

void MappedText::append(const MappedText& other) {
    const bool lastLineEmpty = text.isEmpty() || text.endsWith('\n');
    if (lastLineEmpty)
        origins.last() = other.origins.first();
    origins.append(other.origins.constBegin() + 1, other.origins.constEnd());
    text += other.text;
    Q_ASSERT(other.hasOneOriginPerLine());
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
    Q_ASSERT(other.hasOneOriginPerLine());
}

void MappedTextBuilder::reserve(qsizetype bytes, qsizetype lines) {
    makeRoom(bytes);
    origins.reserve(lines);
}

void MappedTextBuilder::makeRoom(qsizetype bytes) {
    // A buffer of exactly that size: growing a QByteArray rounds its
    // capacity up, to as much as twice the text.
    if (bytes <= text.size())
        return;
    QByteArray larger(bytes, Qt::Uninitialized);
    if (used > 0)
        std::memcpy(larger.data(), room, size_t(used));
    text = std::move(larger);
    room = text.data();
}

void MappedTextBuilder::write(QByteArrayView piece) {
    // The bytes are copied straight into the room, which grows by doubling,
    // rather than appended: most pieces are single lines.
    const qsizetype start = empty ? used : used + 1;
    const qsizetype end = start + piece.size();
    if (end > text.size())
        makeRoom(std::max(end, 2 * text.size()));
    if (!empty)
        room[used] = '\n';
    if (!piece.isEmpty())
        std::memcpy(room + start, piece.data(), size_t(piece.size()));
    used = end;
    empty = false;
}

void MappedTextBuilder::add(QByteArrayView piece, const LineOrigin& origin) {
    write(piece);
    const qsizetype lines = countLineFeeds(piece) + 1;
    if (lines == 1)
        origins.append(origin);
    else
        origins.insert(origins.size(), lines, origin);
}

void MappedTextBuilder::add(const MappedText& piece) {
    write(piece.text);
    origins += piece.origins;
}

void MappedTextBuilder::addLines(const QList<QByteArrayView>& lines,
                                 const QList<LineOrigin>& lineOrigins, qsizetype first,
                                 qsizetype last) {
    for (qsizetype start = first; start < last;) {
        const char* end = lines[start].data() + lines[start].size();
        qsizetype next = start + 1;
        for (; end && next < last && lines[next].data() == end + 1 && *end == '\n'; ++next)
            end = lines[next].data() + lines[next].size();
        write(QByteArrayView(lines[start].data(), end - lines[start].data()));
        origins.append(QList<LineOrigin>::const_iterator(lineOrigins.constData() + start),
                       QList<LineOrigin>::const_iterator(lineOrigins.constData() + next));
        start = next;
    }
}

MappedText MappedTextBuilder::take() {
    MappedText built;
    if (empty)
        return built;
    // Cut to size: a pass keeps many small texts, and the room left by
    // doubling could be as large as the texts themselves.
    text.resize(used);
    text.squeeze();
    origins.squeeze();
    built.text = std::move(text);
    built.origins = std::move(origins);
    Q_ASSERT(built.hasOneOriginPerLine());
    text = QByteArray();
    origins = QList<LineOrigin>();
    room = nullptr;
    used = 0;
    empty = true;
    return built;
}
