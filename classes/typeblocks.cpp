#include "typeblocks.h"

#include "beside.h"
#include "characters.h"
#include "codelexer.h"
#include "conditionals.h"
#include "lines.h"
#include "membersyntax.h"

#include <QSet>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <optional>

namespace {

bool isEndTypeLine(const Tokens& tokens) {
    return tokens.size() >= 2 && isKeyword(tokens[0], "end") && isKeyword(tokens[1], "type");
}

// "type Name" alone (a comment may follow) or with its packing ("type Name
// field = 1"), or "type D extends P" with anything after it.
bool opensBlock(const Tokens& tokens, QByteArrayView line) {
    if (isExtendsLine(tokens))
        return true;
    if (tokens.size() < 2 || !isKeyword(tokens[0], "type"))
        return false;
    if (tokens.size() == 2)
        return true;
    const QByteArrayView code = codeOf(line);
    const Tokens words = lineTokens(code);
    if (words.size() == 2)
        return true;
    // What follows the name: "field", then "=" and the alignment.
    const QByteArrayView rest =
        code.sliced(words[1].data() - code.data() + words[1].size()).trimmed();
    qsizetype at = 0;
    while (at < rest.size() && isNameChar(rest[at]))
        ++at;
    if (!isKeyword(rest.first(at), "field"))
        return false;
    const QByteArrayView value = rest.sliced(at).trimmed();
    return value.size() > 1 && value[0] == '=';
}

} // namespace

std::array<const MappedText*, 4> replacementParts(const TypeRecord& record) {
    return {&record.inheritedDeclareText, &record.twinBlockText, &record.twinMethodText,
            &record.inheritedForwarderText};
}

namespace {

// What takes the place of a block: texts each followed by "\n".
using Parts = QVarLengthArray<const MappedText*, 8>;

// A piece of the rewritten text: a run of lines kept as written, or a
// record's replacement text in place of the block from firstLine through
// lastLine. Pieces are joined with "\n", as lines are.
struct Piece {
    qsizetype firstLine = 0;
    qsizetype lastLine = 0;
    Parts parts;            // none for a kept run
    qsizetype fromByte = 0; // where the lines it takes the place of start and end
    qsizetype toByte = 0;
    qsizetype outByte = 0; // where it goes in the result, and its size
    qsizetype bytes = 0;
    qsizetype outLine = 0;
    qsizetype lineCount = 0;
    // The parts are joined with "\n" and stand for the lines they take the
    // place of, with no line added after them: a kept line emitted
    // otherwise.
    bool exact = false;
};

// Which pieces the file becomes: every block that opens with a type line
// whose record is rewritten gives way to its replacement text.
// The twin's copies of implementations that follow other code stand right
// after their originals: the line each one follows, in order of the lines.
// A kept line emitted otherwise (edit) is written in the same piece.
struct Insertion {
    qsizetype line;
    const MappedText* text = nullptr;
    const LineEdit* edit = nullptr;
};

bool isDirective(QByteArrayView line, QByteArrayView word, QByteArrayView argument) {
    const Tokens tokens = lineTokens(line);
    return tokens.size() == 2 && isKeyword(tokens[0], word) && tokens[1] == argument;
}

// The template pass writes each instance under a guard of its own,
//     #ifndef __FBEXT_INSTANCE_List_integer__
//     #define __FBEXT_INSTANCE_List_integer__
//     (#define __FBEXT_MEMBERS_List_integer__, when its members come later,
//      under "#ifdef __FBEXT_MEMBERS_List_integer__")
//     type List_integer
// which the compiler skips when a file read before has declared the same
// instance. The twin of an instance that a type here extends is not always
// declared with it there (a header makes none): it goes after the guard,
// under a guard of its own, so the compiler reads it once whichever copy of
// the instance it kept; so do the twin's copies of member procedures written
// under either guard, after that guard. A twin stays in place when the type
// line does not follow the guard's lines directly (an instance wrapped in its
// namespace).
struct GuardedTwins {
    struct Range {
        qsizetype open;
        qsizetype close;
    };
    struct Moved {
        Range instance;
        Range members{-1, -1}; // the guard of its members that come later, if any
        // The twin's implementations, and the static variables they share
        // with the instance's own, which go ahead of the guard (null: none).
        const MappedText* methods = nullptr;
        const MappedText* statics = nullptr;
    };
    QHash<qsizetype, Moved> twins; // by record
    // The file's #if blocks, made when a twin moves: a copy that leaves the
    // guard keeps the branches it stood in within the guard.
    std::optional<ConditionalBlocks> conditionals;

    // Where a copy written after line goes: after the guard that holds it.
    static qsizetype placeOf(const Moved& moved, qsizetype line) {
        for (const Range& range : {moved.instance, moved.members}) {
            if (range.open <= line && line < range.close)
                return range.close;
        }
        return line;
    }
};

// The line that closes the #if block opened at open, or -1.
qsizetype closingLine(const LineIndex& lines, qsizetype open, const Inheritance& inheritance) {
    int depth = 0;
    for (qsizetype k = open; k < lines.size(); ++k) {
        if (inheritance.startsInComment(k))
            continue;
        const QByteArrayView word = directiveWordOf(lines[k]);
        if (isKeyword(word, "if") || isKeyword(word, "ifdef") || isKeyword(word, "ifndef"))
            ++depth;
        else if (isKeyword(word, "endif") && --depth == 0)
            return k;
    }
    return -1;
}

GuardedTwins guardedTwinsOf(const LineIndex& lines, const QList<TypeRecord>& records,
                            const RecordIndex& index, const Inheritance& inheritance) {
    GuardedTwins found;
    std::optional<QSet<qsizetype>> movesUp; // made when first needed
    // The lines of each "#ifdef NAME", by NAME, in order; made when first needed.
    std::optional<QHash<QByteArray, QList<qsizetype>>> ifdefLines;
    for (qsizetype r = 0; r < records.size(); ++r) {
        const TypeRecord& record = records[r];
        const qsizetype typeLine = record.typeLine;
        if (!record.hasTwin || typeLine < 2 || typeLine >= lines.size())
            continue;
        const QByteArray guard = "__FBEXT_INSTANCE_" + record.typeName + "__";
        const QByteArray members = "__FBEXT_MEMBERS_" + record.typeName + "__";
        qsizetype open = typeLine - 2;
        const bool split = isDirective(lines[typeLine - 1], "#define", members);
        if (split)
            --open;
        if (open < 0 || !isDirective(lines[open + 1], "#define", guard) ||
            !isDirective(lines[open], "#ifndef", guard))
            continue;
        // A parent below a type that extends it moves up with its twin, out
        // of the guard: it stays as it is.
        if (!movesUp) {
            movesUp.emplace();
            for (const TypeRecord& child : records) {
                const qsizetype parent = index.find(child.parentName);
                if (parent >= 0 && records[parent].typeLine > child.typeLine)
                    movesUp->insert(parent);
            }
        }
        if (movesUp->contains(r))
            continue;
        const qsizetype close = closingLine(lines, open, inheritance);
        if (close < 0)
            continue;
        if (!found.conditionals) {
            found.conditionals.emplace();
            for (qsizetype k = 0; k < lines.size(); ++k) {
                if (!inheritance.startsInComment(k))
                    found.conditionals->note(qint32(k), lines[k]);
            }
        }
        GuardedTwins::Moved& moved = found.twins[r];
        moved.instance = {open, close};
        // The members that wait for another type to be declared follow later,
        // under the first "#ifdef" of their guard after the instance's.
        if (!split)
            continue;
        if (!ifdefLines) {
            ifdefLines.emplace();
            for (qsizetype k = 0; k < lines.size(); ++k) {
                if (inheritance.startsInComment(k) ||
                    !isKeyword(directiveWordOf(lines[k]), "ifdef"))
                    continue;
                const Tokens tokens = lineTokens(lines[k]);
                if (tokens.size() == 2 && isKeyword(tokens[0], "#ifdef"))
                    (*ifdefLines)[tokens[1].toByteArray()].append(k);
            }
        }
        const QList<qsizetype> opened = ifdefLines->value(members);
        const auto after = std::upper_bound(opened.cbegin(), opened.cend(), close);
        if (after != opened.cend()) {
            const qsizetype end = closingLine(lines, *after, inheritance);
            if (end >= 0)
                moved.members = {*after, end};
        }
    }
    return found;
}

// The static variables that a moved twin's implementations share with the
// instance's own are declared where both see them: ahead of the instance's
// guard, under the twin's guard (a file read before may have declared them).
// The rest of the implementations stays with the twin.
void splitSharedStatics(const QList<TypeRecord>& records, GuardedTwins& guarded,
                        std::deque<MappedText>& ownLines) {
    for (auto moved = guarded.twins.begin(); moved != guarded.twins.end(); ++moved) {
        const TypeRecord& record = records[moved.key()];
        moved->methods = &record.twinMethodText;
        const MappedText& text = record.twinMethodText;
        if (record.twinStaticLines <= 0 || record.twinStaticLines >= text.lineCount())
            continue;
        qsizetype at = -1;
        for (qint32 line = 0; line < record.twinStaticLines; ++line)
            at = text.text.indexOf('\n', at + 1);
        const QByteArray guard = "__FBEXT_TWIN_" + record.typeName + "__";
        MappedText statics("#ifndef " + guard, LineOrigin());
        MappedText variables;
        variables.text = text.text.first(at);
        variables.origins = text.origins.first(record.twinStaticLines);
        statics.append(MappedText("\n", LineOrigin()));
        statics.append(variables);
        statics.append(MappedText("\n#endif", LineOrigin()));
        ownLines.push_back(std::move(statics));
        moved->statics = &ownLines.back();
        MappedText rest;
        rest.text = text.text.sliced(at + 1);
        rest.origins = text.origins.sliced(record.twinStaticLines);
        ownLines.push_back(std::move(rest));
        moved->methods = &ownLines.back();
    }
}

// ownLines keeps the lines written around moved twins, ownEdits the edits
// changed for them.
QList<Insertion> insertionsOf(const QList<TypeRecord>& records, const GuardedTwins& guarded,
                              const LineIndex& lines, const QList<LineOrigin>& origins,
                              std::deque<MappedText>& ownLines, std::deque<LineEdit>& ownEdits) {
    QList<Insertion> insertions;
    for (qsizetype r = 0; r < records.size(); ++r) {
        const TypeRecord& record = records[r];
        const auto moved = guarded.twins.constFind(r);
        if (moved == guarded.twins.cend()) {
            for (const PlacedText& method : record.twinLaterMethods)
                insertions.append(Insertion{method.afterLine, &method.text});
        } else {
            // Each guard's copies under a guard of their own, in order.
            const auto guardedGroup = [&](qsizetype line, const QByteArray& guard,
                                          QList<const MappedText*> texts) {
                for (const PlacedText& method : record.twinLaterMethods) {
                    if (GuardedTwins::placeOf(*moved, method.afterLine) != line ||
                        method.afterLine == line)
                        continue;
                    // The #if branches it stood in inside the guard (an
                    // opening line per block, and each branch before its own).
                    ConditionalBlocks::Opening opening =
                        guarded.conditionals->openingFor(qint32(method.afterLine), qint32(line));
                    if (!opening.lines.isEmpty() &&
                        (opening.lines.first() == moved->instance.open ||
                         opening.lines.first() == moved->members.open)) {
                        opening.lines.removeFirst();
                        --opening.levels;
                    }
                    if (opening.levels <= 0) {
                        texts.append(&method.text);
                        continue;
                    }
                    MappedTextBuilder branches;
                    for (const qint32 at : std::as_const(opening.lines))
                        branches.addLine(lines[at], origins[at]);
                    ownLines.push_back(branches.take());
                    texts.append(&ownLines.back());
                    texts.append(&method.text);
                    QByteArray closing = closingOf(opening);
                    closing.chop(1); // parts are joined with "\n"
                    ownLines.emplace_back(closing, LineOrigin());
                    texts.append(&ownLines.back());
                }
                if (texts.isEmpty())
                    return;
                ownLines.emplace_back("#ifndef " + guard + "\n#define " + guard, LineOrigin());
                insertions.append(Insertion{line, &ownLines.back()});
                for (const MappedText* text : texts)
                    insertions.append(Insertion{line, text});
                ownLines.emplace_back(QByteArray("#endif"), LineOrigin());
                insertions.append(Insertion{line, &ownLines.back()});
            };
            guardedGroup(moved->instance.close, "__FBEXT_TWIN_" + record.typeName + "__",
                         {&record.twinBlockText, moved->methods});
            if (moved->members.close >= 0)
                guardedGroup(moved->members.close, "__FBEXT_TWINMEM_" + record.typeName + "__", {});
            for (const PlacedText& method : record.twinLaterMethods) {
                if (GuardedTwins::placeOf(*moved, method.afterLine) == method.afterLine)
                    insertions.append(Insertion{method.afterLine, &method.text});
            }
        }
        // The static variables that the instance's members under a guard
        // (its own, or its members') share with the twin's copies go ahead
        // of that guard, under the #if branches they stood in: the copies
        // follow the guard, and read them also when the compiler skips the
        // guarded members (a file read before made the instance).
        struct Ahead {
            GuardedTwins::Range range{-1, -1};
            QByteArray guard;
            MappedTextBuilder text;
            bool used = false;
        };
        std::array<Ahead, 2> aheads;
        if (moved != guarded.twins.cend()) {
            aheads[0].range = moved->instance;
            aheads[0].guard = "__FBEXT_TWIN_" + record.typeName + "__";
            aheads[1].range = moved->members;
            aheads[1].guard = "__FBEXT_TWINMEM_" + record.typeName + "__";
        }
        for (const LineEdit& edit : record.ownLineEdits) {
            Ahead* ahead = nullptr;
            for (Ahead& candidate : aheads) {
                if (candidate.range.open < edit.line && edit.line < candidate.range.close)
                    ahead = &candidate;
            }
            if (!ahead || edit.before.text.isEmpty()) {
                insertions.append(Insertion{edit.line, nullptr, &edit});
                continue;
            }
            if (!ahead->used)
                ahead->text.add("#ifndef " + ahead->guard);
            ahead->used = true;
            ConditionalBlocks::Opening opening =
                guarded.conditionals->openingFor(edit.line, qint32(ahead->range.close));
            if (!opening.lines.isEmpty() && opening.lines.first() == ahead->range.open) {
                opening.lines.removeFirst();
                --opening.levels;
            }
            for (const qint32 at : std::as_const(opening.lines))
                ahead->text.addLine(lines[at], origins[at]);
            ahead->text.add(edit.before);
            for (int level = 0; level < opening.levels; ++level)
                ahead->text.add("#endif");
            ownEdits.push_back(LineEdit{edit.line, MappedText(), edit.replacement});
            insertions.append(Insertion{edit.line, nullptr, &ownEdits.back()});
        }
        for (Ahead& ahead : aheads) {
            if (!ahead.used)
                continue;
            ahead.text.add("#endif");
            ownEdits.push_back(LineEdit{qint32(ahead.range.open), ahead.text.take(), {}});
            insertions.append(Insertion{ahead.range.open, nullptr, &ownEdits.back()});
        }
    }
    std::stable_sort(insertions.begin(), insertions.end(),
                     [](const Insertion& a, const Insertion& b) { return a.line < b.line; });
    return insertions;
}

// ownLines keeps the copies of the lines that copies follow, which the
// pieces point at.
QList<Piece> planPieces(const LineIndex& lines, const QList<LineOrigin>& origins,
                        const QList<TypeRecord>& records, const Inheritance& inheritance,
                        std::deque<MappedText>& ownLines) {
    const RecordIndex index(records);
    // A type declared twice (in two branches of a conditional block, say)
    // keeps each block's own texts: a block is replaced by the record made
    // from its own type line, and only a line the scan never saw is looked up
    // by name.
    QHash<qsizetype, qsizetype> recordAtLine;
    for (qsizetype r = 0; r < records.size(); ++r)
        recordAtLine.insert(records[r].typeLine, r);

    QList<Piece> pieces;
    const auto keep = [&](qsizetype first, qsizetype last) {
        if (!pieces.isEmpty() && pieces.last().parts.isEmpty() &&
            pieces.last().lastLine == first - 1)
            pieces.last().lastLine = last;
        else
            pieces.append(Piece{first, last, {}});
    };
    // A type's block needs its parent's twin declared above it, and that twin
    // its own parent's; the twin may name the parent type itself. So parents
    // declared further down the file move up, root first, each with its
    // block and its twin's block. Their implementations (the twin's and the
    // forwarders) stay in the place of their own blocks, where they see what
    // the type's own implementations below see.
    QList<bool> movedUp(records.size(), false);
    GuardedTwins guarded = guardedTwinsOf(lines, records, index, inheritance);
    splitSharedStatics(records, guarded, ownLines);
    // A child written under #if branches that its parent is not under
    // ("#ifdef USE_DISK" ... "type DiskLog extends Log" above "type Log")
    // takes its parents to the opening line of the outermost such block
    // instead: moved into a branch the compiler skips, the parent would be
    // gone for the rest of the program too.
    std::optional<ConditionalBlocks> conditionals; // made when first needed
    const auto movedParentsPlace = [&](qsizetype child, qsizetype parent) {
        if (!conditionals) {
            conditionals.emplace();
            for (qsizetype k = 0; k < lines.size(); ++k) {
                if (!inheritance.startsInComment(k))
                    conditionals->note(qint32(k), lines[k]);
            }
        }
        const ConditionalBlocks::Opening opening =
            conditionals->openingFor(qint32(child), qint32(parent));
        return opening.lines.isEmpty() ? child : qsizetype(opening.lines.first());
    };
    // Where a line that an earlier piece holds was given moved parents: the
    // position of the line's own copy among its piece's parts, which later
    // moved parents go in front of.
    QHash<qsizetype, qsizetype> lineCopyAt;
    // Puts moved parents before a line already planned: a run kept as written
    // is split there, and the line becomes its own piece, the parents
    // followed by a copy of the line. A line inside a replaced block cannot
    // take them (false).
    const auto placeBefore = [&](qsizetype line, const Parts& moved) {
        qsizetype p = pieces.size() - 1;
        while (p >= 0 && pieces[p].firstLine > line)
            --p;
        if (p < 0 || pieces[p].lastLine < line)
            return false;
        if (!pieces[p].parts.isEmpty()) {
            // Only a line's own piece, its copy with the copies that follow it.
            if (pieces[p].firstLine != line || pieces[p].lastLine != line)
                return false;
            const qsizetype copy = lineCopyAt.value(line, 0);
            for (qsizetype m = 0; m < moved.size(); ++m)
                pieces[p].parts.insert(copy + m, moved[m]);
            lineCopyAt.insert(line, copy + moved.size());
            return true;
        }
        const Piece run = pieces[p];
        ownLines.emplace_back(lines[line].toByteArray(), origins[line]);
        Parts parts = moved;
        parts.append(&ownLines.back());
        QList<Piece> split;
        if (line > run.firstLine)
            split.append(Piece{run.firstLine, line - 1, {}});
        split.append(Piece{line, line, parts});
        if (line < run.lastLine)
            split.append(Piece{line + 1, run.lastLine, {}});
        pieces.remove(p);
        for (qsizetype s = 0; s < split.size(); ++s)
            pieces.insert(p + s, split[s]);
        lineCopyAt.insert(line, moved.size());
        return true;
    };
    const auto partsFor = [&](qsizetype at, qsizetype line) {
        Parts parts;
        if (movedUp[at]) {
            parts.append(&records[at].twinMethodText);
            parts.append(&records[at].inheritedForwarderText);
            return parts;
        }
        QVarLengthArray<qsizetype, 8> ancestors;
        QSet<qsizetype> met; // a chain that comes back to itself ends there
        for (qsizetype up = index.find(records[at].parentName);
             up >= 0 && records[up].typeLine > line && records[up].hasTwin && !movedUp[up] &&
             !met.contains(up);
             up = index.find(records[up].parentName)) {
            met.insert(up);
            ancestors.append(up);
        }
        Parts moved;
        qsizetype place = line;
        for (qsizetype a = ancestors.size() - 1; a >= 0; --a) {
            movedUp[ancestors[a]] = true;
            moved.append(&records[ancestors[a]].inheritedDeclareText);
            moved.append(&records[ancestors[a]].twinBlockText);
            place = std::min(place, movedParentsPlace(line, records[ancestors[a]].typeLine));
        }
        if (place == line || !placeBefore(place, moved))
            parts = moved;
        const auto movedTwin = guarded.twins.constFind(at);
        const bool twinAfterGuard = movedTwin != guarded.twins.cend();
        if (twinAfterGuard && movedTwin->statics) {
            // Ahead of the guard; failing that, ahead of the type.
            if (!placeBefore(movedTwin->instance.open, Parts{movedTwin->statics}))
                parts.append(movedTwin->statics);
        }
        for (const MappedText* part : replacementParts(records[at])) {
            if (!twinAfterGuard ||
                (part != &records[at].twinBlockText && part != &records[at].twinMethodText))
                parts.append(part);
        }
        return parts;
    };
    // Lines kept as written, each followed by the copies that follow it.
    std::deque<LineEdit> ownEdits;
    const QList<Insertion> insertions =
        insertionsOf(records, guarded, lines, origins, ownLines, ownEdits);
    qsizetype nextInsertion = 0;
    const auto keepWithCopies = [&](qsizetype first, qsizetype last) {
        while (nextInsertion < insertions.size() && insertions[nextInsertion].line < first)
            ++nextInsertion;
        while (nextInsertion < insertions.size() && insertions[nextInsertion].line <= last) {
            const qsizetype line = insertions[nextInsertion].line;
            if (line > first)
                keep(first, line - 1);
            qsizetype groupEnd = nextInsertion;
            const LineEdit* edit = nullptr;
            for (; groupEnd < insertions.size() && insertions[groupEnd].line == line; ++groupEnd) {
                if (insertions[groupEnd].edit)
                    edit = insertions[groupEnd].edit;
            }
            Parts parts;
            if (edit && !edit->before.text.isEmpty()) {
                ownLines.push_back(edit->before);
                parts.append(&ownLines.back());
            }
            ownLines.emplace_back(edit && !edit->replacement.isNull() ? edit->replacement
                                                                      : lines[line].toByteArray(),
                                  origins[line]);
            parts.append(&ownLines.back());
            for (; nextInsertion < groupEnd; ++nextInsertion) {
                if (insertions[nextInsertion].text)
                    parts.append(insertions[nextInsertion].text);
            }
            Piece piece{line, line, parts};
            piece.exact = edit != nullptr;
            pieces.append(piece);
            first = line + 1;
        }
        if (first <= last)
            keep(first, last);
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!firstTokenMayBe(lines[i], "type")) {
            // The run of lines up to the next that may be a type line is kept.
            const qsizetype first = i;
            while (i + 1 < lines.size() && !firstTokenMayBe(lines[i + 1], "type"))
                ++i;
            keepWithCopies(first, i);
            continue;
        }
        // A type line in a /' ... '/ comment stays as written.
        const Tokens tokens = lineTokens(lines[i]);
        if (inheritance.startsInComment(i) || !opensBlock(tokens, lines[i])) {
            keepWithCopies(i, i);
            continue;
        }
        const auto atLine = recordAtLine.constFind(i);
        const qsizetype found = atLine != recordAtLine.cend() ? *atLine : index.find(tokens[1]);
        qsizetype end = i;
        if (atLine != recordAtLine.cend()) {
            end = records[found].blockEnd < 0 ? lines.size() : records[found].blockEnd;
        } else {
            // A type a macro's body leaves open ends with the body.
            while (end < lines.size() && !isEndTypeLine(lineTokens(lines[end])) &&
                   !isKeyword(directiveWordOf(lines[end]), "endmacro"))
                ++end;
        }
        const bool leftAlone = found < 0 || inheritance.isNative(tokens[1]) ||
                               (!records[found].hasTwin && records[found].parentName.isEmpty());
        if (leftAlone) {
            // A type that no record stands for (declared inside a procedure
            // body the scan took away), one that the compiler's own
            // inheritance handles, and one that nothing here extends or is
            // extended by keep their blocks as written.
            keepWithCopies(i, std::min(end, lines.size() - 1));
        } else if (end < lines.size()) {
            pieces.append(Piece{i, end, partsFor(found, i)});
        } else {
            // A block without an end line is kept as written with everything
            // after it, so the compiler reports the missing end line instead
            // of building a program that lacks the rest of the file.
            keepWithCopies(i, lines.size() - 1);
        }
        i = end;
    }
    return pieces;
}

void writeReplacementBytes(char* out, const Parts& parts, bool exact) {
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const MappedText* part = parts[i];
        if (!part->text.isEmpty())
            std::memcpy(out, part->text.constData(), size_t(part->text.size()));
        out += part->text.size();
        if (!exact || i + 1 < parts.size())
            *out++ = '\n';
    }
}

void writeReplacementOrigins(LineOrigin* out, const Parts& parts, bool exact) {
    for (const MappedText* part : parts)
        out = std::copy(part->origins.cbegin(), part->origins.cend(), out);
    if (!exact)
        *out = LineOrigin();
}

// Moves every piece within one array: those that move first (their place
// ends no later than their old one) front to back, as they overwrite
// nothing still to be moved, then the rest back to front.
template <typename MovesFirst, typename Move>
void moveInPlace(const QList<Piece>& pieces, MovesFirst movesFirst, Move move) {
    for (const Piece& piece : pieces) {
        if (movesFirst(piece))
            move(piece);
    }
    for (qsizetype p = pieces.size() - 1; p >= 0; --p) {
        if (!movesFirst(pieces[p]))
            move(pieces[p]);
    }
}

} // namespace

MappedText replaceTypeBlocks(MappedText text, LineIndex lines, const QList<TypeRecord>& records,
                             const Inheritance& inheritance, bool beside) {
    std::deque<MappedText> ownLines;
    QList<Piece> pieces = planPieces(lines, text.origins, records, inheritance, ownLines);
    if (pieces.isEmpty())
        return MappedText();

    // Where each piece goes.
    const char* base = text.text.constData();
    qsizetype bytes = -1;
    qsizetype lineCount = 0;
    for (Piece& piece : pieces) {
        piece.fromByte = lines[piece.firstLine].data() - base;
        piece.toByte = lines[piece.lastLine].data() - base + lines[piece.lastLine].size();
        if (!piece.parts.isEmpty()) {
            piece.bytes = piece.parts.size() - (piece.exact ? 1 : 0);
            piece.lineCount = piece.exact ? 0 : 1;
            for (const MappedText* part : piece.parts) {
                piece.bytes += part->text.size();
                piece.lineCount += part->lineCount();
            }
        } else {
            piece.bytes = piece.toByte - piece.fromByte;
            piece.lineCount = piece.lastLine - piece.firstLine + 1;
        }
        piece.outByte = bytes + 1;
        piece.outLine = lineCount;
        bytes = piece.outByte + piece.bytes;
        lineCount += piece.lineCount;
    }
    // The pieces know their places now; the list of lines goes before the
    // text grows, so the two are never held together at the text's new size.
    lines = LineIndex();

    // The result is made in the text's own room, grown when it is longer,
    // so the text is never held twice. A piece whose place ends no later
    // than its lines did moves first, front to back: it overwrites nothing
    // still to be moved. Every other piece starts later than its lines did,
    // as do all pieces before it that have not moved yet, so these move last,
    // back to front. Lines (origins) are moved by the same rule. The bytes
    // and the origins are apart, so in a large text each goes on a thread of
    // its own.
    QByteArray& out = text.text;
    QList<LineOrigin>& origins = text.origins;
    const auto placeBytes = [&] {
        // The bytes get room of exactly the size needed first (resizing
        // alone rounds the capacity up, to as much as twice the text);
        // reserving moves them in place where it can.
        const qsizetype inputBytes = out.size();
        out.reserve(std::max(inputBytes, bytes));
        out.resize(std::max(inputBytes, bytes));
        char* data = out.data();
        const auto moveBytes = [&](const Piece& piece) {
            if (!piece.parts.isEmpty())
                writeReplacementBytes(data + piece.outByte, piece.parts, piece.exact);
            else if (piece.bytes > 0) // an empty text may have no buffer at all
                std::memmove(data + piece.outByte, data + piece.fromByte, size_t(piece.bytes));
        };
        const auto bytesFirst = [](const Piece& piece) {
            return piece.outByte + piece.bytes <= piece.toByte;
        };
        moveInPlace(pieces, bytesFirst, moveBytes);
        for (qsizetype p = 0; p + 1 < pieces.size(); ++p)
            data[pieces[p].outByte + pieces[p].bytes] = '\n';
        out.truncate(bytes);
    };
    const auto placeOrigins = [&] {
        // The origins are grown by resizing, which moves them in place too,
        // where reserving would copy them: the room it rounds up to is never
        // written, so it takes no memory.
        const qsizetype inputLines = origins.size();
        origins.resize(std::max(inputLines, lineCount));
        LineOrigin* lineData = origins.data();
        const auto moveLines = [&](const Piece& piece) {
            if (!piece.parts.isEmpty())
                writeReplacementOrigins(lineData + piece.outLine, piece.parts, piece.exact);
            else if (piece.lineCount > 0)
                std::memmove(static_cast<void*>(lineData + piece.outLine),
                             lineData + piece.firstLine,
                             size_t(piece.lineCount) * sizeof(LineOrigin));
        };
        const auto linesFirst = [](const Piece& piece) {
            return piece.outLine + piece.lineCount <= piece.lastLine + 1;
        };
        moveInPlace(pieces, linesFirst, moveLines);
        origins.resize(lineCount);
    };
    if (beside) {
        runBeside(placeOrigins, placeBytes);
    } else {
        placeBytes();
        placeOrigins();
    }
    return text;
}

namespace {

// Where the line that starts at start ends: its line feed, or the text's end.
qsizetype lineEndAt(const QByteArray& text, qsizetype start) {
    const char* data = text.constData();
    const void* found = start < text.size()
                            ? std::memchr(data + start, '\n', size_t(text.size() - start))
                            : nullptr;
    return found ? static_cast<const char*>(found) - data : text.size();
}

} // namespace

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
    // An extends line in a /' ... '/ comment stays as written.
    CommentTracker comments(containsCommentOpening(source));
    for (qsizetype start = 0; start <= source.size();) {
        const qsizetype end = lineEndAt(source, start);
        const QByteArrayView line = QByteArrayView(source).sliced(start, end - start);
        if (comments.startsInComment(line) || !firstTokenMayBe(line, "type")) {
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
            // Code that follows the parent's name, such as "field = 1", stays;
            // a comment goes with the clause.
            const qsizetype afterParent = tokens[3].data() - line.data() + tokens[3].size();
            const qsizetype rest =
                codeOf(line.sliced(afterParent)).isEmpty() ? end - start : afterParent;
            moveDown(start + keyword, keywordLength);
            data[written++] = ' ';
            moveDown(start + name, nameLength);
            copied = start + rest;
        }
        start = end + 1;
    }
    if (!data)
        return;
    moveDown(copied, source.size() - copied);
    source.truncate(written);
}
