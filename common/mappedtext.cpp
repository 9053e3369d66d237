#include "mappedtext.h"

MappedText::MappedText(const QString& text, const LineOrigin& origin)
    : text(text), origins(text.count(u'\n') + 1, origin) {}

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

void MappedText::insert(qsizetype position, const MappedText& other) {
    const qsizetype line = QStringView(text).left(position).count(u'\n');
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
