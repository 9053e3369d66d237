#include "linedirectives.h"

#include "lines.h"

#include <algorithm>

namespace {

// What the lexer carries from one line to the next.
struct LexState {
    int commentDepth = 0;   // open /' ... '/ comments (they nest)
    bool inMacro = false;   // between #macro and #endmacro
    bool continued = false; // the previous line ended in " _"
};

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool isBlankLine(QStringView line) {
    return std::all_of(line.begin(), line.end(), isBlank);
}

// Reads one line, updating the comment depth and whether the line is continued.
void scanLine(QStringView line, LexState& state) {
    const qsizetype size = line.size();
    qsizetype lastCodeEnd = 0; // end of the code part (before a ' comment)
    bool commentToEnd = false;
    qsizetype i = 0;
    while (i < size) {
        const QChar c = line[i];
        if (state.commentDepth > 0) {
            if (c == u'/' && i + 1 < size && line[i + 1] == u'\'') {
                ++state.commentDepth;
                i += 2;
            } else if (c == u'\'' && i + 1 < size && line[i + 1] == u'/') {
                --state.commentDepth;
                i += 2;
                lastCodeEnd = i;
            } else {
                ++i;
            }
            continue;
        }
        if (c == u'"') {
            const bool escaped = i > 0 && line[i - 1] == u'!';
            ++i;
            while (i < size) {
                if (escaped && line[i] == u'\\') {
                    i += 2;
                    continue;
                }
                if (line[i] == u'"') {
                    if (!escaped && i + 1 < size && line[i + 1] == u'"') {
                        i += 2;
                        continue;
                    }
                    break;
                }
                ++i;
            }
            i = qMin(i + 1, size);
            lastCodeEnd = i;
            continue;
        }
        if (c == u'/' && i + 1 < size && line[i + 1] == u'\'') {
            ++state.commentDepth;
            i += 2;
            continue;
        }
        if (c == u'\'') {
            commentToEnd = true;
            break;
        }
        ++i;
        lastCodeEnd = i;
    }
    if (commentToEnd || state.commentDepth == 0) {
        // A continuation is a "_" standing alone at the end of the code part.
        QStringView code = line.left(lastCodeEnd);
        while (!code.isEmpty() && isBlank(code.back()))
            code.chop(1);
        state.continued =
            code.endsWith(u'_') && (code.size() == 1 || isBlank(code[code.size() - 2]));
    } else {
        state.continued = false;
    }
}

void scanDirective(QStringView line, LexState& state) {
    const Tokens tokens = lineTokens(line.trimmed());
    if (tokens.isEmpty())
        return;
    if (isKeyword(tokens[0], QLatin1StringView("#macro")))
        state.inMacro = true;
    else if (isKeyword(tokens[0], QLatin1StringView("#endmacro")))
        state.inMacro = false;
}

} // namespace

QString withLineDirectives(const MappedText& mapped, const QString& fileName) {
    const QString& text = mapped.text;
    QString out;
    out.reserve(text.size() + text.size() / 16);

    // Where the compiler believes it is: the file and number of the next line.
    QString currentFile = fileName;
    qint64 currentLine = 1;
    LexState state;

    qsizetype start = 0;
    for (qsizetype index = 0; index < mapped.origins.size(); ++index) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QStringView line = QStringView(text).mid(start, end - start);
        const LineOrigin& origin = mapped.origins[index];

        // A blank line gives the compiler nothing to report, so its number
        // does not matter and it needs no directive of its own.
        const bool matters = origin.isKnown() && !isBlankLine(line) && !origin.file.contains(u'"');
        const bool allowed = !state.continued && !state.inMacro && state.commentDepth == 0;
        if (matters && allowed && (origin.line != currentLine || origin.file != currentFile)) {
            out += QStringLiteral("#line %1 \"").arg(origin.line - 1);
            out += origin.file;
            out += QLatin1StringView("\"\n");
            currentFile = origin.file;
            currentLine = origin.line;
        }

        out += line;
        if (end < text.size())
            out += u'\n';
        ++currentLine;

        const bool wasInComment = state.commentDepth > 0;
        scanLine(line, state);
        if (!wasInComment)
            scanDirective(line, state);
        start = end + 1;
    }
    return out;
}
