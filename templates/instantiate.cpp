#include "instantiate.h"

#include "blockscanner.h"
#include "characters.h"
#include "codelexer.h"
#include "conditionals.h"
#include "lines.h"
#include "namereplace.h"

#include <QHash>
#include <QSet>
#include <QVarLengthArray>

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

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

constexpr QByteArrayView pointerWord = "pointer";

// Whether the word at from of argument is "pointer", in any letter case: a
// word that ends where argument ends or at a blank or another byte that
// cannot stand in a name.
bool isPointerWord(QByteArrayView argument, qsizetype from) {
    const qsizetype end = from + pointerWord.size();
    if (end > argument.size() || !startsWithIgnoringCase(argument.sliced(from), pointerWord))
        return false;
    return end == argument.size() || isBlank(argument[end]) ||
           (uchar(argument[end]) < 0x80 && !isNameChar(argument[end]));
}

// Whether the word that ends at end of argument ends there: at its end, at a
// blank, or at another byte that cannot stand in a name.
bool endsWord(QByteArrayView argument, qsizetype end) {
    return end == argument.size() || isBlank(argument[end]) ||
           (uchar(argument[end]) < 0x80 && !isNameChar(argument[end]));
}

// The length of "unsigned" and the integer type after it at from of argument
// ("unsigned  long"), in any letter case, or 0; typeWord receives the type.
// FreeBASIC reads "unsigned long" as "ulong", and so on for each integer type.
qsizetype unsignedTypeLength(QByteArrayView argument, qsizetype from, QByteArrayView& typeWord) {
    constexpr QByteArrayView unsignedWord = "unsigned";
    qsizetype at = from + unsignedWord.size();
    if (at >= argument.size() || !startsWithIgnoringCase(argument.sliced(from), unsignedWord) ||
        !isBlank(argument[at]))
        return 0;
    while (at < argument.size() && isBlank(argument[at]))
        ++at;
    for (const QByteArrayView type : {"byte", "short", "long", "integer", "longint"}) {
        const qsizetype end = at + type.size();
        if (end <= argument.size() && startsWithIgnoringCase(argument.sliced(at), type) &&
            endsWord(argument, end)) {
            typeWord = type;
            return end - from;
        }
    }
    return 0;
}

// Appends a use's suffix (useSuffix) to out: "_", then the argument text in
// lower case with each blank and each other ASCII byte that cannot stand in
// a name (a comma, a dot, "*", brackets) made "_", so that the instance's
// name is a name (Geo.Point, string * 10, sub(byval as integer)). The
// spelling of the text is made one first, so that every way of spacing the
// same arguments names the same instance: words one blank apart, a comma
// with no blank before it and one after it, a "*" with one blank on each
// side but after a bracket, any other such byte with none, and the word
// "pointer" "ptr" and "unsigned long" "ulong", which FreeBASIC reads as the
// same types. "<<<string,integer>>>", "<<<string ,
// integer>>>" and "<<<String, Integer>>>" all give "_string__integer". use
// may lie in out: it is read whole before out grows.
void appendUseSuffix(QByteArray& out, QByteArrayView use) {
    QByteArrayView argument = argumentText(use);
    // A type named through its forward declaration (Tree_long__fbext_forward)
    // names the same instance as the type itself.
    QByteArray withoutForwards;
    if (indexOfIgnoringCase(argument, forwardSuffix) >= 0) {
        withoutForwards = argument.toByteArray();
        const qsizetype length = qsizetype(qstrlen(forwardSuffix));
        for (qsizetype at = indexOfIgnoringCase(withoutForwards, forwardSuffix); at >= 0;
             at = indexOfIgnoringCase(withoutForwards, forwardSuffix, at)) {
            const qsizetype end = at + length;
            if (at > 0 && (end == withoutForwards.size() || !isNameChar(withoutForwards[end])))
                withoutForwards.remove(at, length);
            else
                at = end;
        }
        argument = withoutForwards;
    }
    // A comma grows by one byte at most and a "*" by two.
    QVarLengthArray<char, 128> suffix;
    suffix.reserve(3 * argument.size() + 1);
    suffix.append('_');
    enum class Last { Nothing, Word, Comma, Star, Mark };
    Last last = Last::Nothing;
    bool gap = false; // blanks since the last word
    const qsizetype size = argument.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = argument[i];
        if (isBlank(c)) {
            gap = true;
            continue;
        }
        const bool mark = uchar(c) < 0x80 && !isNameChar(c);
        // The blank that the canonical spelling puts before this byte.
        const bool blank =
            last != Last::Nothing &&
            (mark ? c == '*' && last != Last::Mark
                  : last == Last::Comma || last == Last::Star || (last == Last::Word && gap));
        if (blank)
            suffix.append('_');
        QByteArrayView unsignedType;
        if (!mark && (last != Last::Word || gap) && isPointerWord(argument, i)) {
            // "integer pointer" is the type "integer ptr": one instance.
            suffix.append("ptr", 3);
            i += pointerWord.size() - 1;
            last = Last::Word;
        } else if (const qsizetype length = !mark && (last != Last::Word || gap)
                                                ? unsignedTypeLength(argument, i, unsignedType)
                                                : 0) {
            // "unsigned long" is the type "ulong": one instance.
            suffix.append('u');
            suffix.append(unsignedType.data(), unsignedType.size());
            i += length - 1;
            last = Last::Word;
        } else if (!mark) {
            suffix.append(foldCase(c));
            last = Last::Word;
        } else {
            suffix.append('_');
            last = c == ',' ? Last::Comma : c == '*' ? Last::Star : Last::Mark;
        }
        gap = false;
    }
    out.append(suffix.data(), suffix.size());
}

// The compiler reads no name beyond 128 characters: longer ones are cut
// there, so two instances whose names begin alike would be one, and so would
// an instance and the names made from its own (its guard
// "__FBEXT_INSTANCE_..._", "..._fbext_forward", "..._generic_public_member"
// of a type that extends it). An instance name longer than this is cut
// shorter, and a checksum of the whole suffix keeps it apart from the others;
// the checksum is the same in every run, so that modules compiled apart name
// an instance alike.
constexpr qsizetype longestInstanceName = 106;

// Shortens the suffix that starts at suffixStart and ends out, for a template
// name of nameSize characters, when the instance name would be longer than
// longestInstanceName: its first characters, "_" and 16 hexadecimal digits.
void shortenLongSuffix(QByteArray& out, qsizetype suffixStart, qsizetype nameSize) {
    constexpr qsizetype checksumSize = 17; // "_" and the digits
    const qsizetype suffixSize = out.size() - suffixStart;
    const qsizetype keep = std::max<qsizetype>(1, longestInstanceName - nameSize - checksumSize);
    if (nameSize + suffixSize <= longestInstanceName || keep + checksumSize >= suffixSize)
        return;
    quint64 checksum = 14695981039346656037ULL; // FNV-1a
    for (qsizetype i = suffixStart; i < out.size(); ++i) {
        checksum ^= uchar(out[i]);
        checksum *= 1099511628211ULL;
    }
    out.truncate(suffixStart + keep);
    out += '_';
    out += QByteArray::number(checksum, 16).rightJustified(16, '0');
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

// How deep templates may use templates: a chain that goes further is taken
// for one that never ends.
constexpr int deepestInstance = 32;

// Whether the code of a line opens a namespace block ("namespace Geo"), and
// whether it opens or closes one ("end namespace").
bool opensNamespace(QByteArrayView code) {
    return isKeyword(firstToken(code), "namespace");
}
bool opensOrClosesNamespace(QByteArrayView code) {
    // Most lines start with another letter: one look settles them.
    qsizetype at = 0;
    while (at < code.size() && isBlank(code[at]))
        ++at;
    if (at == code.size() || (foldCase(code[at]) != 'n' && foldCase(code[at]) != 'e'))
        return false;
    const QByteArrayView first = firstToken(code.sliced(at));
    if (isKeyword(first, "namespace"))
        return true;
    return isKeyword(first, "end") &&
           isKeyword(firstToken(code.sliced(first.data() + first.size() - code.data())),
                     "namespace");
}

// The name a line declares as a type: "type Point", "type Handle as long",
// "union Cell", "enum Mode"; nothing for other lines.
QByteArrayView typeDeclaredBy(QByteArrayView code) {
    const Tokens tokens = lineTokens(code);
    if (tokens.size() < 2 ||
        !(isKeyword(tokens[0], "type") || isKeyword(tokens[0], "union") ||
          isKeyword(tokens[0], "enum")) ||
        !std::all_of(tokens[1].begin(), tokens[1].end(), isNameChar))
        return {};
    return tokens[1];
}

// The type that a line declares with a block of its own ("type Node",
// "type Node extends Shape", "type Node' a comment"), or nothing: a view
// into line.
QByteArrayView typeOpenedBy(QByteArrayView line) {
    CodeLexer lexer;
    const QByteArrayView code = lexer.next(line);
    const Tokens tokens = lineTokens(code);
    if (tokens.size() < 2 || !isKeyword(tokens[0], "type") ||
        (tokens.size() >= 3 && isKeyword(tokens[2], "as")) ||
        !std::all_of(tokens[1].begin(), tokens[1].end(), isNameChar))
        return {};
    return line.sliced(tokens[1].data() - code.data(), tokens[1].size());
}

// Replaces each name of text that is name, in any letter case and not
// qualified, by replacement. Returns whether any was.
bool replaceName(QByteArray& text, QByteArrayView name, QByteArrayView replacement) {
    bool replaced = false;
    forEachUnqualifiedName(text, [&](qsizetype at, qsizetype end) {
        if (!equalsIgnoringCase(QByteArrayView(text).sliced(at, end - at), name))
            return end;
        text.replace(at, end - at, replacement.toByteArray());
        replaced = true;
        return at + replacement.size();
    });
    return replaced;
}

// Whether text names name, in any letter case and not qualified.
bool containsName(const QByteArray& text, QByteArrayView name) {
    bool found = false;
    forEachUnqualifiedName(text, [&](qsizetype at, qsizetype end) {
        found = found || equalsIgnoringCase(QByteArrayView(text).sliced(at, end - at), name);
        return end;
    });
    return found;
}

// The macros the type block of an instance defines on lines of its own
// ("#define BYTES sizeof(integer)", "#macro ... #endmacro"): an "#undef" line
// for each, and the lines that define them, each line ended by a line feed.
// (A macro a member procedure defines is that procedure's own: the compiler
// lets every procedure define it.)
struct MacroDefinitions {
    QByteArray undefines;
    qsizetype undefineCount = 0;
    QByteArray definitions;
};

MacroDefinitions macroDefinitions(QByteArrayView typeBlock) {
    MacroDefinitions macros;
    CodeLexer lexer;
    bool inMacro = false; // between "#macro" and "#endmacro"
    for (qsizetype start = 0; start <= typeBlock.size();) {
        qsizetype end = typeBlock.indexOf('\n', start);
        if (end < 0)
            end = typeBlock.size();
        const QByteArrayView line = typeBlock.sliced(start, end - start);
        const QByteArrayView code = lexer.next(line);
        const QByteArrayView directive = directiveWordOf(code);
        const bool defines = isKeyword(directive, "define") || isKeyword(directive, "macro");
        if (defines && !inMacro) {
            QByteArrayView name =
                firstToken(code.sliced(directive.data() + directive.size() - code.data()));
            qsizetype nameEnd = 0;
            while (nameEnd < name.size() && isNameChar(name[nameEnd]))
                ++nameEnd;
            name = name.first(nameEnd);
            if (!name.isEmpty()) {
                macros.undefines += "#undef " + name.toByteArray() + '\n';
                ++macros.undefineCount;
            }
        }
        const bool closes = isKeyword(directive, "endmacro");
        if (defines || inMacro || closes) {
            macros.definitions += line;
            macros.definitions += '\n';
        }
        inMacro = (inMacro || isKeyword(directive, "macro")) && !closes;
        start = end + 1;
    }
    return macros;
}

struct Instantiation {
    const TemplateTable& templateTable;
    QList<Instance>& instances;
    QList<TemplateError>* errors;
    qsizetype longestName = 0;
    QSet<QByteArray> instanceNames;   // letter case folded
    qsizetype anchor = 0;             // where an instance first used on the current line goes
    const Lines* fileLines = nullptr; // the file's lines, anchor among them
    qsizetype line = 0;               // the line of the file being read
    bool failed = false;              // an error was met: nothing more is generated
    // Room reused by every use, so that a use of an instance made before
    // allocates nothing: its template's key, its instance's key.
    QByteArray nameKey;
    QByteArray instanceKey;
    // The instances whose texts are being expanded, outermost first (their
    // keys), and for each the outermost of them its text uses, or -1.
    QList<QByteArray> building;
    QList<qsizetype> usesOuter;
    QSet<QByteArray> forwardDeclared; // keys of the instances declared ahead
    // Member procedures waiting for the instance (its key) whose type they use.
    QList<std::pair<QByteArray, Instance>> waiting;
    // The type block whose own name an instance's arguments name (its
    // anchor, or -1), and the key its member procedures wait for.
    qsizetype enclosingBlock = -1;
    QByteArray enclosingKey;
    bool enclosingInside = false; // enclosingBlock is a statement inside a namespace
    // In a namespace block: where the statement that holds the current line
    // starts inside it (-1 outside one), and the names the block declares
    // so far, with those of the instances placed in it that use them
    // (letter case folded).
    qsizetype insideAnchor = -1;
    QSet<QByteArray> namespaceNames;
    bool placingInside = false; // the instance being made goes at insideAnchor
    // The namespace the current line stands in ("Coll", "A.B"), and the
    // one the instance whose text is being expanded lands in (empty: none).
    QByteArray lineSpace;
    QByteArray instanceSpace;
    // For each instance in building, the namespace its parts are wrapped in
    // (empty: none), which its forward declaration needs too.
    QByteArrayList buildingWraps;
    // The names the file #undefs so far, with the line of the last #undef
    // (letter case folded), and the line each instance was first used at: a
    // macro that is a type argument may name another type after its #undef.
    QHash<QByteArray, qsizetype> undefinedNames;
    QHash<QByteArray, qsizetype> firstUses;

    bool rewriteLine(QByteArrayView line, QByteArrayView code, QByteArray& out, int depth);
    void rewriteUse(QByteArray& out, qsizetype open, int depth);
    bool useTemplate(QByteArrayView templateName, QByteArrayView suffix, QByteArrayView use,
                     QByteArrayView space, int depth);
    bool usesOuterInstance(const QByteArray& name);
    bool argumentUndefinedSince(QByteArrayView use, const QByteArray& key) const;
    QByteArray wrapFor(QByteArrayView templateSpace, QByteArrayView usePrefix);
    bool meansEarlier(const CapturedTemplate& captured, QByteArrayView usePrefix) const;
    bool namesNamespaceType(const QByteArrayList& arguments) const;
    void declareAhead(const QByteArray& key, const QByteArray& name, QByteArrayView wrap = {});
    qsizetype forwardOuterInstances(QByteArrayList& arguments);
    void appendInstance(const QByteArray& key, const CapturedTemplate& captured, Instance instance,
                        const QByteArray& waitFor, QByteArrayView space);
    void appendWaiting(const QByteArray& key, qsizetype at);
    void expandUsesIn(MappedText& text, int depth);
    QByteArray forwardEnclosingType(QByteArrayList& arguments);
    void fail(int number, const QByteArray& text);
};

// The template name written directly in front of position end of text: the
// run of name characters there. Only a known template's name counts, so a run
// longer than every known name is not read to its start.
QByteArrayView nameBefore(const QByteArray& text, qsizetype end, qsizetype longestName) {
    const qsizetype limit = std::max<qsizetype>(0, end - longestName - 1);
    qsizetype start = end;
    while (start > limit && isNameChar(text[start - 1]))
        --start;
    return QByteArrayView(text).sliced(start, end - start);
}

// The namespace a use names its template in ("Coll" for Coll.Stack<<<x>>>,
// "A.B" for A.B.Stack<<<x>>>): the dotted names in front of the template's
// name, which starts at position nameStart of text; nothing for a use
// without one.
QByteArrayView namespaceBefore(const QByteArray& text, qsizetype nameStart) {
    if (nameStart < 2 || text[nameStart - 1] != '.')
        return {};
    qsizetype start = nameStart - 1;
    while (start > 0 && (isNameChar(text[start - 1]) || text[start - 1] == '.'))
        --start;
    const QByteArrayView space = QByteArrayView(text).sliced(start, nameStart - 1 - start);
    if (space.isEmpty() || !isNameChar(space.front()) || !isNameChar(space.back()) ||
        space.contains(".."))
        return {};
    return space;
}

// Whether a name in the type arguments of use was #undef'd since the
// instance of key was first used.
bool Instantiation::argumentUndefinedSince(QByteArrayView use, const QByteArray& key) const {
    const qsizetype first = firstUses.value(key, line);
    const QByteArray arguments = argumentText(use).toByteArray();
    bool undefined = false;
    forEachUnqualifiedName(arguments, [&](qsizetype at, qsizetype end) {
        const auto found = undefinedNames.constFind(caseFolded(arguments.sliced(at, end - at)));
        undefined = undefined || (found != undefinedNames.constEnd() && *found > first);
        return end;
    });
    return undefined;
}

void Instantiation::fail(int number, const QByteArray& text) {
    if (!failed && errors)
        errors->append(TemplateError{LineOrigin(), number, text, line});
    failed = true;
}

// Whether a use of the instance named name, made before, names one that an
// instance being built further out is: the text being expanded (that of the
// innermost instance being built) comes before that one's type block. The use
// then names its forward declaration, made here the first time.
bool Instantiation::usesOuterInstance(const QByteArray& name) {
    const qsizetype at = building.indexOf(instanceKey);
    if (at < 0 || at == building.size() - 1)
        return false; // made and declared already, or the instance's own name
    qsizetype& outer = usesOuter.last();
    outer = outer < 0 ? at : std::min(outer, at);
    declareAhead(instanceKey, name, buildingWraps[at]);
    return true;
}

// Declares the instance of key, named name, ahead of its type block, the
// first time it is asked to.
void Instantiation::declareAhead(const QByteArray& key, const QByteArray& name,
                                 QByteArrayView wrap) {
    if (forwardDeclared.contains(key))
        return;
    forwardDeclared.insert(key);
    const QByteArray forward = name + forwardSuffix;
    // Beside its instance: in the namespace that instance is wrapped in.
    const QByteArray declaration = "type " + forward + " as " + name;
    instances.append(Instance{forward,
                              MappedText(wrap.isEmpty() ? declaration
                                                        : "namespace " + wrap.toByteArray() + '\n' +
                                                              declaration + "\nend namespace",
                                         LineOrigin()),
                              anchor});
}

// The arguments of a new instance may name an instance still being built
// further out, through a use of it rewritten before ("children as
// List<<<Tree<<<t1>>> ptr>>>" in template Tree): the new instance stands
// before that one's type block, so it names it through its forward
// declaration instead. Returns the outermost such instance's place in
// building, or -1.
qsizetype Instantiation::forwardOuterInstances(QByteArrayList& arguments) {
    qsizetype outer = -1;
    if (building.isEmpty())
        return outer;
    QByteArray key;
    for (QByteArray& argument : arguments) {
        forEachUnqualifiedName(argument, [&](qsizetype at, qsizetype end) {
            setCaseFolded(key, QByteArrayView(argument).sliced(at, end - at));
            const qsizetype found = building.indexOf(key);
            if (found < 0)
                return end;
            declareAhead(key, argument.sliced(at, end - at), buildingWraps[found]);
            argument.insert(end, forwardSuffix);
            outer = outer < 0 ? found : std::min(outer, found);
            return end + qsizetype(qstrlen(forwardSuffix));
        });
    }
    return outer;
}

// Appends an instance whose text is expanded. One that uses a type still to
// come (waitFor: an outer instance's key, or the forward key of the type
// whose block holds the use) appends its type block now and its member
// procedures once that type is declared too. The member procedures waiting
// for this instance follow it.
void Instantiation::appendInstance(const QByteArray& key, const CapturedTemplate& captured,
                                   Instance instance, const QByteArray& waitFor,
                                   QByteArrayView space) {
    // A use that names the template's namespace (Coll.Stack<<<x>>>) names the
    // instance there, and the template's members read the names of that
    // namespace as the template's own did: each part goes inside it.
    const auto inSpace = [space](MappedText& text) {
        if (space.isEmpty())
            return;
        MappedText wrapped("namespace " + space.toByteArray() + '\n', LineOrigin());
        wrapped.append(text);
        wrapped.append(MappedText("\nend namespace", LineOrigin()));
        text = std::move(wrapped);
    };
    // The type block is the "type" line, an empty line and the captured
    // block, whose lines come before the first "\n" element.
    const qsizetype blockLines = captured.lines.indexOf(QByteArray("\n"));
    // Where the type block ends, when the instance is split there or may
    // define macros there (most templates hold no "#" at all).
    const bool mayDefine = instance.text.text.contains('#');
    qsizetype blockEnd = -1;
    if ((!waitFor.isEmpty() || mayDefine) && blockLines >= 0) {
        blockEnd = 0;
        for (qsizetype line = 0; line < blockLines + 2 && blockEnd >= 0; ++line)
            blockEnd = instance.text.text.indexOf('\n', blockEnd + (line > 0 ? 1 : 0));
    }
    qsizetype split = waitFor.isEmpty() ? -1 : blockEnd;
    // A macro the type block defines (#define, #macro) is defined anew by
    // every instance, with its own types: each instance undefines it first,
    // as the compiler refuses a second definition.
    const MacroDefinitions macros =
        mayDefine
            ? macroDefinitions(QByteArrayView(instance.text.text)
                                   .first(blockEnd >= 0 ? blockEnd : instance.text.text.size()))
            : MacroDefinitions();
    if (!macros.undefines.isEmpty()) {
        MappedText undefined(macros.undefines, LineOrigin());
        undefined.append(instance.text);
        instance.text = std::move(undefined);
        if (split >= 0)
            split += macros.undefines.size();
    }
    if (split < 0) {
        inSpace(instance.text);
        instances.append(std::move(instance));
    } else {
        const qsizetype typeLines = blockLines + 2 + macros.undefineCount;
        Instance members{instance.name, MappedText(), instance.anchor, Instance::Part::Members};
        members.text.text = instance.text.text.sliced(split + 1);
        members.text.origins = instance.text.origins.sliced(typeLines);
        instance.text.text.truncate(split);
        instance.text.origins.resize(typeLines);
        instance.part = Instance::Part::Type;
        // Member procedures placed later read the macros of their own type
        // block, whatever another instance defined in between.
        if (!macros.definitions.isEmpty()) {
            MappedText definitions(macros.undefines + macros.definitions, LineOrigin());
            definitions.append(members.text);
            members.text = std::move(definitions);
        }
        inSpace(instance.text);
        inSpace(members.text);
        instances.append(std::move(instance));
        waiting.append({waitFor, std::move(members)});
    }
    appendWaiting(key, -1);
}

// Appends the member procedures waiting for the type of key; at says where
// they go when not where their type block went (-1).
void Instantiation::appendWaiting(const QByteArray& key, qsizetype at) {
    for (qsizetype i = 0; i < waiting.size();) {
        if (waiting[i].first == key) {
            if (at >= 0)
                waiting[i].second.anchor = at;
            instances.append(std::move(waiting[i].second));
            waiting.removeAt(i);
        } else {
            ++i;
        }
    }
}

bool Instantiation::useTemplate(QByteArrayView templateName, QByteArrayView suffix,
                                QByteArrayView use, QByteArrayView space, int depth) {
    // A use with no name in front of it, or a name no template was declared
    // under, only has its text rewritten: it gets no instance (a "type" line with
    // no body and no end line would only break the compile), and it does not
    // claim an instance name a known template may need later.
    if (failed || templateName.isEmpty() || templateName.size() > longestName)
        return false;
    setCaseFolded(nameKey, templateName); // the template's key (templateKey)
    const auto found = templateTable.constFind(nameKey);
    if (found == templateTable.constEnd())
        return false;
    // The suffix is in lower case already, as the table's keys are.
    instanceKey.resize(0);
    instanceKey += found.key();
    instanceKey += suffix;
    const CapturedTemplate& captured = found.value();
    // A template declared twice is refused at a use that may mean the other
    // declaration, whether or not the instance was made for another use.
    if (captured.earlierHeader.fileNumber != 0 && meansEarlier(captured, space)) {
        const auto where = [](const QByteArray& space) {
            return space.isEmpty() ? QByteArray("outside any namespace") : "in namespace " + space;
        };
        fail(TemplateError::RepeatedDeclaration,
             equalsIgnoringCase(captured.earlierSpace, captured.space)
                 ? "template " + captured.name + " is declared twice in " +
                       captured.headerOrigin.file().toUtf8() + ", at lines " +
                       QByteArray::number(captured.earlierHeader.line) + " and " +
                       QByteArray::number(captured.headerOrigin.line) +
                       ": declare it once, with #if branches inside it where the two differ"
                 : "template " + captured.name + " is declared " + where(captured.earlierSpace) +
                       " (" + captured.earlierHeader.file().toUtf8() + ", line " +
                       QByteArray::number(captured.earlierHeader.line) + ") and " +
                       where(captured.space) + " (" + captured.headerOrigin.file().toUtf8() +
                       ", line " + QByteArray::number(captured.headerOrigin.line) +
                       "): the two would share their instances' names; give them different "
                       "names");
        return false;
    }
    if (instanceNames.contains(instanceKey)) { // most uses name an instance made before
        // "#define ELEM integer", Cell<<<ELEM>>>, "#undef ELEM", "#define ELEM
        // double", Cell<<<ELEM>>>: both uses are spelt alike and would share
        // the one instance, made with integer.
        if (!undefinedNames.isEmpty() && argumentUndefinedSince(use, instanceKey)) {
            fail(TemplateError::RedefinedArgument,
                 templateName.toByteArray() + use.toByteArray() + " names a macro that is " +
                     "#undef'd after the first use of " + captured.name + suffix.toByteArray() +
                     ", so the two uses may mean two types but would share one instance: " +
                     "write the type itself, or name it through a type alias");
            return false;
        }
        return !building.isEmpty() && usesOuterInstance(captured.name + suffix.toByteArray());
    }
    const QByteArray key = instanceKey;
    const QByteArray instanceName = captured.name + suffix.toByteArray();
    QByteArrayList arguments = typeArguments(use);
    // An instance that names a type its namespace block declares goes inside
    // the block, before the statement there that holds the use, where that
    // type is declared; the instances it uses go with it.
    struct Placing {
        Instantiation& at;
        qsizetype anchor;
        bool inside;
        ~Placing() {
            at.anchor = anchor;
            at.placingInside = inside;
        }
    } const placing{*this, anchor, placingInside};
    // An instance of the namespace the use stands in goes inside its block,
    // before the statement there that holds the use, after what the block
    // declares above it.
    const QByteArray wrap = wrapFor(captured.space, space);
    if (!placingInside && insideAnchor >= 0 &&
        (wrap.isEmpty() ? namesNamespaceType(arguments)
                        : building.isEmpty() && equalsIgnoringCase(wrap, lineSpace))) {
        anchor = insideAnchor;
        placingInside = true;
    }
    if (placingInside)
        namespaceNames.insert(key);
    if (depth >= deepestInstance) {
        fail(TemplateError::RunawayTemplate,
             "template " + captured.name + " leads to a chain of " +
                 QByteArray::number(deepestInstance) +
                 " instances, each using the next: a template that uses itself with a "
                 "growing type argument never ends");
        return false;
    }
    // Known from here on, so that the template using itself with the same
    // arguments (through a pointer) is this instance.
    instanceNames.insert(key);
    firstUses.insert(key, line);
    const QByteArray enclosingKey = forwardEnclosingType(arguments);
    const qsizetype outerNamed = forwardOuterInstances(arguments);
    int highest = 0;
    MappedText text = instanceText(captured, instanceName, arguments, &highest);
    if (highest > arguments.size()) {
        fail(TemplateError::MissingArguments,
             captured.name + " uses t" + QByteArray::number(highest) + " but " + instanceName +
                 " gives " + QByteArray::number(arguments.size()) + " type argument" +
                 (arguments.size() == 1 ? "" : "s"));
        return false;
    }
    // An argument left empty ("Stack<<<>>>", "Map<<<, integer>>>") gives the
    // parameter nothing: the compiler would meet "as" with no type at the
    // template's own lines, so the use is reported here instead.
    for (qsizetype i = 0; i < highest; ++i) {
        if (arguments[i].isEmpty()) {
            fail(TemplateError::MissingArguments,
                 captured.name + " uses t" + QByteArray::number(i + 1) + " but " +
                     templateName.toByteArray() + use.toByteArray() + " leaves it empty");
            return false;
        }
    }
    // The instances this one uses come before it.
    const QByteArray wrapHere =
        placingInside && equalsIgnoringCase(wrap, lineSpace) ? QByteArray() : wrap;
    building.append(key);
    usesOuter.append(outerNamed);
    buildingWraps.append(wrapHere);
    const QByteArray outerSpace =
        std::exchange(instanceSpace, !placingInside       ? wrapHere
                                     : wrapHere.isEmpty() ? lineSpace
                                                          : lineSpace + '.' + wrapHere);
    expandUsesIn(text, depth + 1);
    instanceSpace = outerSpace;
    buildingWraps.removeLast();
    building.removeLast();
    const qsizetype outer = usesOuter.takeLast();
    appendInstance(key, captured, Instance{instanceName, std::move(text), anchor},
                   outer >= 0 ? building[outer] : enclosingKey, wrapHere);
    return false;
}

// The namespace an instance of a template declared in templateSpace goes in,
// for a use that names it with usePrefix in front (Coll.List<<<x>>>) or
// without: the one named, or, for a use that stands in the template's own
// namespace (in a block of it, or in the text of an instance placed there),
// that namespace, where the use's plain name finds it. Otherwise none.
QByteArray Instantiation::wrapFor(QByteArrayView templateSpace, QByteArrayView usePrefix) {
    if (!usePrefix.isEmpty())
        return usePrefix.toByteArray();
    if (templateSpace.isEmpty())
        return {};
    const QByteArrayView context =
        building.isEmpty() ? QByteArrayView(lineSpace) : QByteArrayView(instanceSpace);
    return equalsIgnoringCase(context, templateSpace) ? templateSpace.toByteArray() : QByteArray();
}

// Whether a use of a template that was declared before (earlierHeader) may
// mean that earlier declaration, whose instance it cannot have: always, when
// both stand in one file (under other #if branches, or in two namespaces,
// whose members are mixed in the one entry); for a template an included
// file declared in another namespace, unless the use names the later one's
// namespace (Coll.Box<<<x>>>), or stands in it, or, for a later one outside
// any namespace, stands outside the earlier one's.
bool Instantiation::meansEarlier(const CapturedTemplate& captured, QByteArrayView usePrefix) const {
    if (captured.earlierHeader.fileNumber == captured.headerOrigin.fileNumber ||
        equalsIgnoringCase(captured.earlierSpace, captured.space))
        return true;
    if (!usePrefix.isEmpty())
        return !equalsIgnoringCase(usePrefix, captured.space);
    const QByteArrayView context =
        building.isEmpty() ? QByteArrayView(lineSpace) : QByteArrayView(instanceSpace);
    if (equalsIgnoringCase(context, captured.space))
        return false;
    if (!captured.space.isEmpty())
        return true;
    const QByteArrayView earlier = captured.earlierSpace;
    return equalsIgnoringCase(context, earlier) ||
           (context.size() > earlier.size() && context[earlier.size()] == '.' &&
            equalsIgnoringCase(context.first(earlier.size()), earlier));
}

// A use inside a type's own block that names the type ("children as
// List<<<Node ptr>>>" in "type Node") makes an instance that stands before
// the block, where the type is not declared yet. The arguments then name it
// through an alias declared ahead of the instance, which FreeBASIC reads as
// a type still to come, as a pointer to it needs; the instance keeps the
// name the use gives it.
QByteArray Instantiation::forwardEnclosingType(QByteArrayList& arguments) {
    const QByteArrayView enclosingType = typeOpenedBy((*fileLines)[anchor]);
    if (enclosingType.isEmpty())
        return {};
    const QByteArray alias = enclosingType.toByteArray() + forwardSuffix;
    // An instance used in such an instance's text names the alias already.
    bool named = false;
    for (QByteArray& argument : arguments) {
        named = replaceName(argument, enclosingType, alias) || named;
        named = named || containsName(argument, alias);
    }
    if (!named)
        return {};
    declareAhead(caseFolded(enclosingType), enclosingType.toByteArray());
    // The instance's member procedures wait for the end of the block.
    enclosingBlock = anchor;
    enclosingKey = caseFolded(alias);
    enclosingInside = placingInside;
    return enclosingKey;
}

// Whether an argument names, unqualified, a type that the namespace block
// holding the use declares above it, or an instance placed in it for one.
bool Instantiation::namesNamespaceType(const QByteArrayList& arguments) const {
    if (namespaceNames.isEmpty())
        return false;
    QByteArray word;
    bool names = false;
    for (const QByteArray& argument : arguments) {
        forEachUnqualifiedName(argument, [&](qsizetype at, qsizetype end) {
            // Not the namespace in front of another name either.
            if (end < argument.size() && argument[end] == '.')
                return end;
            setCaseFolded(word, QByteArrayView(argument).sliced(at, end - at));
            names = names || namespaceNames.contains(word);
            return end;
        });
    }
    return names;
}

// Rewrites the uses in an instance's text, generating the instances they name.
void Instantiation::expandUsesIn(MappedText& text, int depth) {
    if (findTriple(text.text, '<', 0) < 0)
        return;
    QByteArray rewritten;
    rewritten.reserve(text.text.size());
    CodeLexer lexer;
    bool first = true;
    for (const QByteArrayView instanceLine : splitLines(text.text)) {
        if (!first)
            rewritten += '\n';
        first = false;
        QByteArray out;
        if (rewriteLine(instanceLine, lexer.next(instanceLine), out, depth))
            rewritten += out;
        else
            rewritten += instanceLine;
    }
    text.text = std::move(rewritten);
}

// The use whose "<<<" stands at open in out and whose ">>>" ends out: the
// use is replaced by its suffix, so that together with the name in front of
// it the text reads as the instance name.
void Instantiation::rewriteUse(QByteArray& out, qsizetype open, int depth) {
    // The suffix is written after the use, and the views into out stay valid
    // until it is moved into the use's place: an instance is generated in
    // texts of its own.
    const qsizetype useEnd = out.size();
    // Room for the suffix, which is most often shorter than the use, before
    // the use is looked at: writing it then moves nothing.
    out.reserve(2 * useEnd - open);
    appendUseSuffix(out, QByteArrayView(out).sliced(open));
    const qsizetype nameSize = nameBefore(out, open, longestName).size();
    shortenLongSuffix(out, useEnd, nameSize);
    const QByteArrayView all(out);
    const QByteArrayView name = all.sliced(open - nameSize, nameSize);
    if (useTemplate(name, all.sliced(useEnd), all.sliced(open, useEnd - open),
                    namespaceBefore(out, open - name.size()), depth))
        out.append(forwardSuffix);
    const qsizetype suffixSize = out.size() - useEnd;
    char* data = out.data();
    std::memmove(data + open, data + useEnd, size_t(suffixSize));
    out.truncate(open + suffixSize);
}

// Rewrites the uses in the code of a line, each innermost use first, so that
// the type of a use may itself be a use. The text is copied into out as it is
// read: the "<<<" met and not yet closed are remembered by where they stand in
// out, and a ">>>" closes the last of them. Returns whether anything changed.
bool Instantiation::rewriteLine(QByteArrayView line, QByteArrayView code, QByteArray& out,
                                int depth) {
    if (findTriple(code, '<', 0) < 0)
        return false;
    out.reserve(line.size() + 16);
    // Pieces are copied straight into out's room: most lines are copied a
    // few bytes at a time, between the marks of their uses.
    const auto copy = [&out](QByteArrayView piece) {
        const qsizetype at = out.size();
        out.resize(at + piece.size());
        if (!piece.isEmpty())
            std::memcpy(out.data() + at, piece.data(), size_t(piece.size()));
    };
    const auto triple = [&code](qsizetype at, char c) {
        return at + 2 < code.size() && code[at] == c && code[at + 1] == c && code[at + 2] == c;
    };
    QVarLengthArray<qsizetype, 8> opens;
    bool changed = false;
    qsizetype i = 0;
    while (i < code.size()) {
        qsizetype next = i;
        while (next < code.size() && code[next] != '<' && code[next] != '>')
            ++next;
        copy(line.sliced(i, next - i));
        i = next;
        if (i == code.size())
            break;
        if (triple(i, '<')) {
            opens.append(out.size());
            copy(line.sliced(i, 3));
            i += 3;
        } else if (triple(i, '>') && !opens.isEmpty()) {
            copy(line.sliced(i, 3));
            rewriteUse(out, opens.back(), depth);
            opens.removeLast();
            changed = true;
            i += 3;
            // A name character right after the use would join the instance
            // name: "Box<<<integer>>>_" continues the line, and
            // "Box<<<integer>>>rem" starts a comment.
            if (opens.isEmpty() && i < line.size() && isNameChar(line[i]))
                out += ' ';
        } else {
            copy(line.sliced(i, 1));
            ++i;
        }
    }
    copy(line.sliced(i));
    return changed;
}

} // namespace

QByteArray useSuffix(QByteArrayView use) {
    QByteArray suffix;
    appendUseSuffix(suffix, use);
    return suffix;
}

QByteArrayList typeArguments(QByteArrayView use) {
    const QByteArrayView text = argumentText(use);
    QByteArrayList arguments;
    // The commas that separate arguments stand outside brackets: those of a
    // procedure type's parameters (sub(byval a as long, byval b as long))
    // belong to its argument.
    const auto nextComma = [&text](qsizetype from) -> qsizetype {
        int depth = 0;
        for (qsizetype i = from; i < text.size(); ++i) {
            if (text[i] == '(')
                ++depth;
            else if (text[i] == ')' && depth > 0)
                --depth;
            else if (text[i] == ',' && depth == 0)
                return i;
        }
        return -1;
    };
    for (qsizetype start = 0;;) {
        qsizetype comma = nextComma(start);
        QByteArray argument;
        appendWords(argument, text.sliced(start, (comma < 0 ? text.size() : comma) - start), ' ');
        arguments.append(argument);
        if (comma < 0)
            return arguments;
        start = comma + 1;
    }
}

namespace {

// Whether FreeBASIC reads an argument followed by "ptr" as something else
// than a pointer to it: a procedure type takes the "ptr" into its result
// ("function() as long ptr") and a fixed-length string refuses it
// ("zstring * 16 ptr").
bool pointerChangesMeaning(QByteArrayView argument) {
    const QByteArrayView first = firstToken(argument);
    qsizetype word = 0;
    while (word < first.size() && isNameChar(first[word]))
        ++word;
    const QByteArrayView keyword = first.first(word);
    return isKeyword(keyword, "sub") || isKeyword(keyword, "function") || argument.contains('*');
}

} // namespace

MappedText instanceText(const CapturedTemplate& captured, const QByteArray& instanceName,
                        const QByteArrayList& arguments, int* highestParameter) {
    // An argument that cannot be followed by "ptr" is named through an alias,
    // as a program written by hand would name it, where its template writes
    // "tN ptr": the alias line takes the place of the empty line after the
    // "type" line, so the instance keeps its number of lines. In the type
    // arguments of a use ("List<<<t1 ptr>>>") it is spelt "typeof(...) ptr"
    // instead, as the instance of that use comes before the alias. Everywhere
    // else the argument stands as written, so the instances this one uses are
    // the same as without the alias.
    QByteArrayList aliasNames(arguments.size());
    QByteArrayList inUses;
    QByteArray aliases;
    bool pointersChecked = false;
    unsigned beforePointers = 0;
    for (qsizetype i = 0; i < arguments.size() && i < 9; ++i) {
        if (!pointerChangesMeaning(arguments[i]))
            continue;
        inUses.resize(arguments.size());
        inUses[i] = "typeof(" + arguments[i] + ')';
        if (!pointersChecked) {
            beforePointers = parametersBeforePointers(joinedLines(captured.lines));
            pointersChecked = true;
        }
        if (!(beforePointers & (1u << (i + 1))))
            continue;
        aliasNames[i] = instanceName + "__fbext_t" + QByteArray::number(i + 1);
        aliases +=
            (aliases.isEmpty() ? "type " : " : type ") + aliasNames[i] + " as " + arguments[i];
    }
    const QByteArray afterTypeLine = aliases.isEmpty() ? "\n\n" : "\n";
    MappedText instance;
    if (captured.parent.isEmpty()) {
        const QByteArray body = joinedLines(captured.lines);
        instance.text =
            "type " + instanceName +
            (captured.packing.isEmpty() ? QByteArray() : ' ' + captured.packing) + afterTypeLine +
            substituteNamesAt(
                body, captured.planned ? captured.bodyPlaces : namePlacesOf(body, captured.name),
                instanceName, arguments, highestParameter, &aliasNames, &inUses);
    } else {
        // The parent may be a type argument (extends t1), so it is substituted
        // with the body; the class pass then reads the extends line as any other.
        instance.text =
            "type " + instanceName +
            substituteNames(
                " extends " + captured.parent +
                    (captured.packing.isEmpty() ? QByteArray() : ' ' + captured.packing) +
                    afterTypeLine + joinedLines(captured.lines),
                captured.name, instanceName, arguments, highestParameter, &aliasNames, &inUses);
    }
    if (!aliases.isEmpty())
        instance.text = aliases + '\n' + instance.text;

    // Neither substitution nor renaming adds or removes a line feed, so each
    // captured element still stands for its own lines: the first keeps its
    // origin, the empty lines a "\n" element makes have none.
    instance.origins = {captured.headerOrigin,
                        aliases.isEmpty() ? LineOrigin() : captured.headerOrigin};
    for (qsizetype i = 0; i < captured.lines.size(); ++i) {
        instance.origins.append(captured.origins.value(i));
        for (qsizetype feeds = countLineFeeds(captured.lines[i]); feeds > 0; --feeds)
            instance.origins.append(LineOrigin());
    }
    if (captured.lines.isEmpty())
        instance.origins.append(LineOrigin());
    return instance;
}

namespace {

// The #if line and the #endif line of a conditional block that holds the
// rest of the file: its #endif is the file's last line of code, and it has
// no #else or #elseif of its own. An include guard is one. Every line after
// its #if line stands in it, so an instance first used in it serves every
// later use from the statement inside it that holds that first use, after the
// types declared in it above. {-1, -1} when the file has none.
std::pair<qsizetype, qsizetype> blockHoldingTheRest(const Lines& lines) {
    // Most files do not end in #endif: their last lines settle it. Comments
    // may follow it ("' end of shapes.bi", "rem ..."); a block comment there
    // is left to the lexer below.
    qsizetype last = lines.size() - 1;
    for (; last >= 0; --last) {
        const QByteArrayView line = lines[last].trimmed();
        if (line.contains("'/") ||
            (!line.isEmpty() && line[0] != '\'' && !isWordAt(line, 0, "rem")))
            break;
    }
    if (last < 0 ||
        (!isKeyword(directiveWordOf(lines[last]), "endif") && !lines[last].contains("'/")))
        return {-1, -1};
    CodeLexer lexer;
    QList<std::pair<qsizetype, bool>> open;       // #if lines, and whether an #else followed
    std::pair<qsizetype, bool> closed{-1, false}; // the block the last code line closed
    qsizetype lastCode = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView code = lexer.next(lines[i]);
        if (code.trimmed().isEmpty())
            continue;
        lastCode = i;
        closed = {-1, false};
        const QByteArrayView directive = directiveWordOf(code);
        if (isKeyword(directive, "if") || isKeyword(directive, "ifdef") ||
            isKeyword(directive, "ifndef")) {
            open.append({i, false});
        } else if ((isKeyword(directive, "else") || isKeyword(directive, "elseif")) &&
                   !open.isEmpty()) {
            open.last().second = true;
        } else if (isKeyword(directive, "endif") && !open.isEmpty()) {
            closed = open.takeLast();
        }
    }
    if (closed.first < 0 || closed.second || !open.isEmpty())
        return {-1, -1};
    return {closed.first, lastCode};
}

// Notes the name the "#undef NAME" line of code, lines[line], undefines,
// with its line; a continued "#undef _" names it on the next line.
void noteUndef(QByteArrayView code, const Lines& lines, qsizetype line,
               QHash<QByteArray, qsizetype>& undefinedNames) {
    if (directiveWordOf(code).isEmpty())
        return; // most lines: not even a directive
    const QByteArrayView name =
        undefinedNameOf(code, line + 1 < lines.size() ? lines[line + 1] : QByteArrayView());
    if (!name.isEmpty())
        undefinedNames.insert(caseFolded(name), line);
}

} // namespace

QByteArrayView undefinedNameOf(QByteArrayView code, QByteArrayView next) {
    const QByteArrayView directive = directiveWordOf(code);
    if (!isKeyword(directive, "undef"))
        return {};
    const QByteArrayView name =
        firstToken(code.sliced(directive.data() + directive.size() - code.data()));
    // "#undef _": the compiler reads the name from the next line (the code
    // of a line ends before its continuation).
    return name.isEmpty() || name == "_" ? firstToken(next) : name;
}

void instantiateTemplates(Lines& lines, QByteArrayList& rewrittenLines,
                          const TemplateSet& templates, QList<Instance>& instances,
                          QList<TemplateError>* errors,
                          const QHash<qsizetype, QSet<QByteArray>>* undefinedAt) {
    if (undefinedAt && undefinedAt->isEmpty())
        undefinedAt = nullptr;
    const TemplateTable& table = templates.templateTable;
    if (table.isEmpty())
        return;
    Instantiation instantiation{table, instances, errors, 0,  {}, 0,  &lines, 0,  false,
                                {},    {},        {},     {}, {}, {}, -1,     {}, false,
                                -1,    {},        false,  {}, {}, {}, {},     {}};
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        instantiation.longestName = std::max(instantiation.longestName, it.key().size());

    // The block that holds the rest of the file is no block to go before.
    const auto [restIf, restEndif] = blockHoldingTheRest(lines);
    CodeLexer lexer;
    BlockScanner blocks;
    // From the first namespace line on, a second scanner reads namespace
    // blocks as no blocks, to tell the statements inside them.
    std::optional<BlockScanner> inside;
    qsizetype namespaceBlock = -1;
    // The namespace blocks open around the line, outermost first, as the
    // length lineSpace ("Outer.Inner") had before each was opened: a line
    // opening or closing one changes only its end.
    QList<qsizetype> spaces;
    SkippedBranches skipped;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView line = std::as_const(lines)[i];
        QByteArrayView code = lexer.next(line);
        // The compiler skips an "#if 0" branch unread: a use there is none.
        if (!lexer.startedInComment() && skipped.skips(line))
            code = QByteArrayView();
        const bool rest = i == restIf || i == restEndif;
        const bool namespaceLine = opensOrClosesNamespace(code);
        if (namespaceLine && !inside)
            inside = blocks;
        if (namespaceLine) {
            QByteArray& lineSpace = instantiation.lineSpace;
            if (opensNamespace(code)) {
                const Tokens tokens = lineTokens(code, 2);
                spaces.append(lineSpace.size());
                if (spaces.size() > 1)
                    lineSpace += '.';
                if (tokens.size() >= 2)
                    lineSpace += tokens[1];
            } else if (!spaces.isEmpty()) {
                lineSpace.truncate(spaces.takeLast());
            }
        }
        instantiation.anchor = blocks.next(i, rest ? QByteArrayView() : code, lexer);
        if (inside) {
            const qsizetype insideAt =
                inside->next(i, rest || namespaceLine ? QByteArrayView() : code, lexer);
            const bool inNamespace = opensNamespace(std::as_const(lines)[instantiation.anchor]);
            if (instantiation.anchor != namespaceBlock) {
                instantiation.namespaceNames.clear();
                namespaceBlock = inNamespace ? instantiation.anchor : -1;
            }
            instantiation.insideAnchor = inNamespace && !namespaceLine ? insideAt : -1;
            if (instantiation.insideAnchor == i) {
                const QByteArrayView name = typeDeclaredBy(code);
                if (!name.isEmpty())
                    instantiation.namespaceNames.insert(caseFolded(name));
            }
        }
        const qsizetype current =
            instantiation.enclosingInside ? instantiation.insideAnchor : instantiation.anchor;
        if (instantiation.enclosingBlock >= 0 && current != instantiation.enclosingBlock) {
            // Past the block of a type that instances point at: their member
            // procedures go before the statement after it.
            instantiation.appendWaiting(instantiation.enclosingKey,
                                        current >= 0 ? current : instantiation.anchor);
            instantiation.enclosingBlock = -1;
        }
        instantiation.line = i;
        noteUndef(code, lines, i, instantiation.undefinedNames);
        if (undefinedAt) {
            const auto included = undefinedAt->constFind(i);
            if (included != undefinedAt->cend()) {
                for (const QByteArray& name : *included)
                    instantiation.undefinedNames.insert(name, i);
            }
        }
        QByteArray rewritten;
        if (instantiation.rewriteLine(line, code, rewritten, 0)) {
            rewrittenLines.append(std::move(rewritten));
            lines[i] = rewrittenLines.last();
        }
    }
    if (instantiation.enclosingBlock >= 0)
        instantiation.appendWaiting(instantiation.enclosingKey, lines.size());
}
