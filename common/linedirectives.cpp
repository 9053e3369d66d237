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
    // Only a line whose first character after white space is '#' can open or
    // close a macro; every other line is passed over without tokenizing it.
    const auto first = std::find_if(line.begin(), line.end(), [](QChar c) { return !c.isSpace(); });
    if (first == line.end() || *first != u'#')
        return;
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
    LineOrigin current(fileName, 1);
    LexState state;

    // The text is copied in runs between the directives, not line by line.
    qsizetype copied = 0;
    qsizetype start = 0;
    for (qsizetype index = 0; index < mapped.origins.size(); ++index) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QStringView line = QStringView(text).mid(start, end - start);
        const LineOrigin& origin = mapped.origins[index];

        // A blank line gives the compiler nothing to report, so its number
        // does not matter and it needs no directive of its own. The cheap tests
        // come first: most lines are numbered right already.
        const bool allowed = !state.continued && !state.inMacro && state.commentDepth == 0;
        if (origin.isKnown() && allowed &&
            (origin.line != current.line || origin.fileNumber != current.fileNumber) &&
            !isBlankLine(line) && !origin.file().contains(u'"')) {
            out += QStringView(text).mid(copied, start - copied);
            copied = start;
            out += QLatin1StringView("#line ");
            out += QString::number(origin.line - 1);
            out += QLatin1StringView(" \"");
            out += origin.file();
            out += QLatin1StringView("\"\n");
            current = origin;
        }

        ++current.line;

        const bool wasInComment = state.commentDepth > 0;
        scanLine(line, state);
        if (!wasInComment)
            scanDirective(line, state);
        start = end + 1;
    }
    out += QStringView(text).mid(copied);
    return out;
}
