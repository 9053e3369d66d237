#include "conditionals.h"

#include "characters.h"

#include <algorithm>

namespace {

enum class Directive { none, opens, branches, closes };

// "#if", "# ifdef", "#ELSE", ... however indented; directiveWord receives
// the word after the "#".
Directive directiveOf(QByteArrayView text, QByteArrayView* directiveWord = nullptr) {
    qsizetype at = 0;
    while (at < text.size() && isSpaceChar(text[at]))
        ++at;
    if (at == text.size() || text[at] != '#')
        return Directive::none;
    ++at;
    while (at < text.size() && isSpaceChar(text[at]))
        ++at;
    qsizetype end = at;
    while (end < text.size() && isNameChar(text[end]))
        ++end;
    const QByteArrayView word = text.sliced(at, end - at);
    if (directiveWord)
        *directiveWord = word;
    static constexpr QByteArrayView openings[] = {"if", "ifdef", "ifndef"};
    static constexpr QByteArrayView branches[] = {"else", "elseif", "elseifdef", "elseifndef"};
    for (const QByteArrayView opening : openings) {
        if (equalsIgnoringCase(word, opening))
            return Directive::opens;
    }
    for (const QByteArrayView branch : branches) {
        if (equalsIgnoringCase(word, branch))
            return Directive::branches;
    }
    return equalsIgnoringCase(word, "endif") ? Directive::closes : Directive::none;
}

} // namespace

bool ConditionalBlocks::note(qint32 line, QByteArrayView text) {
    const Directive directive = directiveOf(text);
    if (directive == Directive::none)
        return false;
    if (directive == Directive::opens) {
        branches.append(Branch{line, -1, open});
        open = qint32(branches.size() - 1);
    } else if (directive == Directive::branches && open >= 0) {
        branches.append(Branch{line, open, branches[open].enclosing});
        open = qint32(branches.size() - 1);
    } else if (directive == Directive::closes && open >= 0) {
        open = branches[open].enclosing;
    }
    directives.append(line);
    openAfter.append(open);
    return true;
}

qint32 ConditionalBlocks::branchAt(qint32 line) const {
    const auto after = std::upper_bound(directives.cbegin(), directives.cend(), line);
    return after == directives.cbegin() ? -1 : openAfter[after - directives.cbegin() - 1];
}

ConditionalBlocks::Opening ConditionalBlocks::openingFor(qint32 line, qint32 shared) const {
    Opening opening;
    const qint32 innermost = directives.isEmpty() ? -1 : branchAt(line);
    if (innermost < 0 || innermost == branchAt(shared))
        return opening; // the copy stands under the same branches already
    QList<qint32> sharedBranches;
    for (qint32 b = branchAt(shared); b >= 0; b = branches[b].enclosing)
        sharedBranches.append(b);
    // Innermost block first; each block's lines from its last branch back.
    QList<qint32> reversed;
    for (qint32 b = innermost; b >= 0 && !sharedBranches.contains(b); b = branches[b].enclosing) {
        for (qint32 step = b; step >= 0; step = branches[step].previous)
            reversed.append(branches[step].line);
        ++opening.levels;
    }
    opening.lines = QList<qint32>(reversed.crbegin(), reversed.crend());
    return opening;
}

QByteArray closingOf(const ConditionalBlocks::Opening& opening) {
    QByteArray closing;
    for (int i = 0; i < opening.levels; ++i)
        closing += "#endif\n";
    return closing;
}

bool SkippedBranches::skipsAfterDirective(QByteArrayView line) {
    QByteArrayView word;
    const Directive directive = directiveOf(line, &word);
    if (depth == 0) {
        if (!equalsIgnoringCase(word, "if"))
            return false;
        // "#if 0", a comment after it allowed.
        QByteArrayView condition = line.sliced(word.data() + word.size() - line.data());
        if (const qsizetype comment = condition.indexOf('\''); comment >= 0)
            condition = condition.first(comment);
        if (condition.trimmed() == "0")
            depth = 1;
        return false;
    }
    if (directive == Directive::opens)
        ++depth;
    else if (directive == Directive::closes)
        --depth;
    else if (directive == Directive::branches && depth == 1)
        depth = 0;
    return depth > 0;
}
