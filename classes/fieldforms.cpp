#include "fieldforms.h"

#include "characters.h"
#include "lines.h"
#include "membersyntax.h"

#include <algorithm>
#include <iterator>

namespace {

bool isName(QByteArrayView text) {
    if (text.isEmpty() || (text[0] >= '0' && text[0] <= '9'))
        return false;
    for (const char c : text) {
        if (!isNameChar(c))
            return false;
    }
    return true;
}

// Words that start a line of a type block that declares no field.
bool startsOtherStatement(QByteArrayView word) {
    static constexpr QByteArrayView keywords[] = {
        "declare",  "static",      "private:",   "public:",   "protected:", "private",
        "public",   "protected",   "end",        "type",      "union",      "enum",
        "const",    "redim",       "field",      "namespace", "sub",        "function",
        "property", "constructor", "destructor", "operator",  "rem"};
    for (const QByteArrayView keyword : keywords) {
        if (isKeyword(word, keyword))
            return true;
    }
    return word.startsWith('#');
}

// FreeBASIC keywords that a type without member procedures may take as a
// field's name ("next as Node ptr") but that cannot name a property: such a
// field is reached through "parent" on an extending type. (Keywords such as
// "len", "name" or "data" can name a property and are forwarded.)
bool namesNoProperty(QByteArrayView name) {
    static constexpr QByteArrayView keywords[] = {
        "abs",      "abstract", "alias",     "any",      "asm",         "assert",    "assertwarn",
        "base",     "bit",      "bitreset",  "bitset",   "boolean",     "byref",     "byte",
        "byval",    "call",     "case",      "cast",     "cbyte",       "cdbl",      "cdecl",
        "cint",     "clng",     "clngint",   "common",   "constructor", "continue",  "cptr",
        "cshort",   "csign",    "csng",      "cubyte",   "cuint",       "culng",     "culngint",
        "cunsg",    "cushort",  "cva_arg",   "cva_copy", "cva_end",     "cva_start", "destructor",
        "do",       "double",   "else",      "elseif",   "end",         "endif",     "exit",
        "export",   "extends",  "extern",    "fix",      "for",         "frac",      "function",
        "goto",     "hibyte",   "hiword",    "if",       "iif",         "import",    "int",
        "integer",  "is",       "let",       "lib",      "lobyte",      "long",      "longint",
        "loop",     "loword",   "namespace", "next",     "offsetof",    "operator",  "overload",
        "pascal",   "pointer",  "procptr",   "property", "ptr",         "return",    "rgb",
        "rgba",     "scope",    "select",    "sgn",      "shared",      "short",     "single",
        "stdcall",  "step",     "string",    "sub",      "then",        "this",      "to",
        "type",     "typeof",   "ubyte",     "uinteger", "ulong",       "ulongint",  "union",
        "unsigned", "until",    "ushort",    "using",    "var",         "virtual",   "wend",
        "while",    "with",     "wstring",   "zstring"};
    // A name longer than every keyword is none of them.
    constexpr qsizetype longest = [] {
        qsizetype size = 0;
        for (const QByteArrayView keyword : keywords)
            size = std::max(size, keyword.size());
        return size;
    }();
    if (name.size() > longest)
        return false;
    char folded[longest];
    for (qsizetype i = 0; i < name.size(); ++i)
        folded[i] = foldCase(name[i]);
    return std::binary_search(std::begin(keywords), std::end(keywords),
                              QByteArrayView(folded, name.size()));
}

// The type as the property gives it: a fixed-length string is passed as a
// string; a wide one has no such property type, so it is not forwarded.
bool propertyType(QByteArrayView written, FieldForm& field) {
    field.type = singleSpaced(written);
    const qsizetype star = topLevelIndexOf(field.type, '*');
    if (star < 0)
        return !field.type.isEmpty();
    const QByteArray base = caseFolded(singleSpaced(QByteArrayView(field.type).first(star)));
    if (base == "string" || base == "zstring") {
        field.type = "string";
        return true;
    }
    if (base == "wstring")
        field.shape = FieldForm::Shape::unforwarded;
    return base == "wstring";
}

// One declared name, "name", "name(dims)", "name (dims)" or "name : bits",
// with its initializer already dropped.
bool nameOf(QByteArrayView declared, FieldForm& field) {
    const qsizetype colon = declared.indexOf(':');
    if (colon >= 0)
        declared = codeOf(declared.first(colon));
    const qsizetype open = declared.indexOf('(');
    if (open >= 0) {
        const QByteArrayView dimensions = declared.sliced(open);
        if (!dimensions.endsWith(')'))
            return false;
        if (topLevelIndexOf(dimensions.sliced(1, dimensions.size() - 2), ',') >= 0)
            field.shape = FieldForm::Shape::unforwarded;
        else if (field.shape == FieldForm::Shape::scalar)
            field.shape = FieldForm::Shape::indexed;
        declared = codeOf(declared.first(open));
    }
    field.name = declared.toByteArray();
    if (namesNoProperty(declared))
        field.shape = FieldForm::Shape::unforwarded;
    return isName(declared);
}

// Where the dimensions that end text ("cells(3)", "plane (any, any)") start,
// or -1.
qsizetype dimensionsAt(QByteArrayView text) {
    return text.endsWith(')') ? matchingOpen(text, text.size() - 1) : -1;
}

QByteArrayView withoutInitializer(QByteArrayView piece) {
    const qsizetype equals = topLevelIndexOf(piece, '=');
    return equals < 0 ? piece : codeOf(piece.first(equals));
}

QList<FieldForm> fieldsOfStatement(QByteArrayView line);

} // namespace

QList<FieldForm> fieldsOfLine(QByteArrayView line) {
    const Pieces statements = statementsOf(line);
    if (statements.size() == 1)
        return fieldsOfStatement(statements[0]);
    QList<FieldForm> fields;
    for (const QByteArrayView statement : statements)
        fields += fieldsOfStatement(statement);
    return fields;
}

namespace {

// The fields of one statement of a type block's line.
QList<FieldForm> fieldsOfStatement(QByteArrayView line) {
    QByteArrayView code = codeOf(line);
    const Tokens words = lineTokens(code);
    if (words.isEmpty() || startsOtherStatement(words[0]))
        return {};
    if (isKeyword(words[0], "dim")) {
        if (words.size() < 2)
            return {};
        code = code.sliced(words[1].data() - code.data());
    }

    QList<FieldForm> fields;
    const Pieces pieces = topLevelPieces(code, ',');
    if (topLevelAs(code) == 0) {
        // "as Type a, b = 2": the type, then the first name at the end of the
        // first piece.
        const QByteArrayView first = withoutInitializer(pieces[0]).sliced(2);
        const qsizetype open = dimensionsAt(first);
        QByteArrayView head = open < 0 ? first : first.first(open);
        while (!head.isEmpty() && (head.back() == ' ' || head.back() == '\t'))
            head.chop(1);
        qsizetype nameStart = head.size();
        while (nameStart > 0 && !(head[nameStart - 1] == ' ' || head[nameStart - 1] == '\t'))
            --nameStart;
        FieldForm shared;
        if (!propertyType(first.first(nameStart), shared))
            return {};
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            FieldForm field = shared;
            const QByteArrayView declared =
                i == 0 ? codeOf(first.sliced(nameStart)) : withoutInitializer(pieces[i]);
            if (!nameOf(declared, field))
                return {};
            fields.append(field);
        }
        return fields;
    }

    // "name as Type = 1", piece by piece.
    for (const QByteArrayView piece : pieces) {
        const QByteArrayView declaration = withoutInitializer(piece);
        const qsizetype as = topLevelAs(declaration);
        if (as <= 0)
            return {};
        FieldForm field;
        if (!propertyType(declaration.sliced(as + 2), field) ||
            !nameOf(codeOf(declaration.first(as)), field))
            return {};
        fields.append(field);
    }
    return fields;
}

} // namespace
