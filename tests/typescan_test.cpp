#include "classsteps.h"
#include "classtext.h"
#include "fieldforms.h"
#include "forwarding.h"
#include "typescan.h"

#include "codelexer.h"

#include <QElapsedTimer>
#include <QSet>
#include <algorithm>

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

QList<TypeRecord> scan(const QByteArray& source) {
    const MappedText mapped = sourceOf(source);
    return scanTypes(LineIndex(mapped.text), mapped.origins);
}

MappedText joined(const QList<MappedText>& parts) {
    MappedTextBuilder text;
    for (const MappedText& part : parts)
        text.add(part);
    return text.take();
}

// "Point2.flip(" after "Shape.": a member of a type nested in the block.
bool namesNestedMember(QByteArrayView member) {
    const qsizetype dot = member.indexOf('.');
    const qsizetype bracket = member.indexOf('(');
    return dot >= 0 && (bracket < 0 || dot < bracket);
}

// The scanning rules transcribed literally, to check the indexed scan against:
// every scan walks the working list from the type line to its end and erases
// the lines it takes.
QList<TypeRecord> referenceScan(const QByteArray& source) {
    const MappedText mapped = sourceOf(source);
    QByteArrayList lines = mapped.text.split('\n');
    const QByteArrayList fileLines = lines;
    QList<LineOrigin> origins = mapped.origins;
    QList<qsizetype> positions; // of the working list's lines in the file
    for (qsizetype k = 0; k < lines.size(); ++k)
        positions.append(k);
    const auto take = [&](qsizetype k) {
        lines.removeAt(k);
        origins.removeAt(k);
        positions.removeAt(k);
    };
    const QByteArrayView kinds[] = {QByteArrayView("sub"),        QByteArrayView("function"),
                                    QByteArrayView("property"),   QByteArrayView("constructor"),
                                    QByteArrayView("destructor"), QByteArrayView("operator"),
                                    QByteArrayView("dim")};
    QList<TypeRecord> records;
    for (qsizetype j = 0; j < lines.size(); ++j) {
        const QByteArray typeLine = lines[j];
        const Tokens tokens = lineTokens(typeLine);
        if (tokens.size() < 2 || !isKeyword(tokens[0], "type"))
            continue;
        TypeRecord record;
        record.typeName = tokens[1].toByteArray();
        const QByteArray prefix = record.typeName + '.';
        QList<MappedText> blockLines;
        // Each implementation as found: its lines, where they stand, and
        // whether it has its end line.
        struct Implementation {
            QList<MappedText> lines;
            QList<qsizetype> positions;
            bool ended = false;
        };
        QList<Implementation> implementations;
        qsizetype blockEnd = -1;
        QList<MemberDeclaration> declarations;
        QList<QByteArray> declaredLines;          // the declarations' views refer to these
        QList<QSet<QByteArray>> memberParameters; // of each member, case-folded
        const auto add = [&](MemberKey key, const ForwardEntry& entry, qsizetype line) {
            QSet<QByteArray> parameters = fieldPropertyParameters();
            if (key.memberClass != MemberClass::field) {
                parameters.clear();
                for (const QByteArray& name : argumentListOf(codeOf(lines[line])).split(','))
                    parameters.insert(caseFolded(name.endsWith("()") ? name.chopped(2) : name));
            }
            memberParameters.append(parameters);
            record.members.append(
                MemberEntry{std::move(key), entry.forwarder, entry.declaration, origins[line]});
        };
        int depth = 0;
        int enumDepth = 0;
        // An alias ("type H as integer") is its own line; every other block
        // runs to its end line.
        const bool alias = tokens.size() >= 3 && isKeyword(tokens[2], "as");
        if (alias) {
            blockLines.append(MappedText(lines[j], origins[j]));
            blockEnd = positions[j];
        }
        for (qsizetype k = j; !alias && k < lines.size(); ++k) {
            blockLines.append(MappedText(lines[k], origins[k]));
            if (k == j)
                continue;
            const QList<QByteArrayView> words = wordsOf(codeOf(lines[k]));
            if (words.isEmpty())
                continue;
            const bool closes = words.size() >= 2 && isKeyword(words[0], "end");
            if (closes && depth == 0 && isKeyword(words[1], "type")) {
                blockEnd = positions[k];
                break;
            }
            if (closes) {
                if (depth > 0 && (isKeyword(words[1], "type") || isKeyword(words[1], "union") ||
                                  isKeyword(words[1], "enum"))) {
                    if (depth == enumDepth)
                        enumDepth = 0;
                    --depth;
                }
            } else if ((isKeyword(words[0], "union") || isKeyword(words[0], "type")) &&
                       words.size() == 1) {
                ++depth;
            } else if (isKeyword(words[0], "enum") ||
                       ((isKeyword(words[0], "union") || isKeyword(words[0], "type")) &&
                        !isKeyword(words[1], "field") && !isKeyword(words[1], "as") &&
                        !(words.size() >= 3 && isKeyword(words[2], "as")))) {
                // An enum, or a named type or union of the type's own.
                ++depth;
                if (enumDepth == 0)
                    enumDepth = depth;
            } else if (isKeyword(words[0], "declare")) {
                declaredLines.append(lines[k]);
            } else if (enumDepth == 0) {
                for (const FieldForm& field : fieldsOfLine(lines[k])) {
                    MemberKey key{caseFolded(field.name), MemberClass::field, {}};
                    if (field.shape == FieldForm::Shape::scalar)
                        add(key, forwardField(field.name, field.type), k);
                    else if (field.shape == FieldForm::Shape::indexed)
                        add(key, forwardIndexedField(field.name, field.type), k);
                }
            }
        }
        for (const QByteArray& line : std::as_const(declaredLines)) {
            MemberDeclaration declaration;
            if (parseDeclaration(line, declaration))
                declarations.append(declaration);
        }
        for (QByteArrayView kind : kinds) {
            const bool namesTypeItself =
                kind == QByteArrayView("constructor") || kind == QByteArrayView("destructor");
            const bool oneLine = kind == QByteArrayView("dim");
            const bool forwarded =
                !namesTypeItself && !oneLine && kind != QByteArrayView("operator");
            bool inMember = false;
            for (qsizetype k = j; k < lines.size(); ++k) {
                const QByteArray line = lines[k];
                const Tokens t = lineTokens(line);
                if (t.size() >= 2) {
                    const bool header =
                        isKeyword(t[0], kind) &&
                        (namesTypeItself
                             ? (equalsIgnoringCase(t[1], record.typeName) ||
                                startsWithIgnoringCase(t[1], QByteArray(record.typeName + '(')))
                             : startsWithIgnoringCase(t[1], prefix) &&
                                   !namesNestedMember(t[1].sliced(prefix.size())));
                    if (header && forwarded) {
                        const MemberKey key = keyOfHeader(line);
                        // The declaration of the same key, else the only one of its name.
                        const MemberDeclaration* declared = nullptr;
                        int sameName = 0;
                        for (const MemberDeclaration& d : std::as_const(declarations)) {
                            if (d.key == key) {
                                declared = &d;
                                sameName = 1;
                                break;
                            }
                            if (d.key.name == key.name && d.key.memberClass == key.memberClass) {
                                declared = &d;
                                ++sameName;
                            }
                        }
                        add(key,
                            forwardMember(memberHeaderOf(kind, line), prefix,
                                          sameName == 1 ? declared : nullptr),
                            k);
                    }
                    if (header && !inMember)
                        implementations.append(Implementation());
                    if (header)
                        inMember = true;
                    if ((header && oneLine) ||
                        (isKeyword(t[1], kind) && inMember && isKeyword(t[0], "end"))) {
                        implementations.last().lines.append(MappedText(line, origins[k]));
                        implementations.last().positions.append(positions[k]);
                        implementations.last().ended = true;
                        take(k);
                        --k;
                        inMember = false;
                        continue;
                    }
                }
                if (inMember) {
                    implementations.last().lines.append(MappedText(line, origins[k]));
                    implementations.last().positions.append(positions[k]);
                    take(k);
                    --k;
                }
            }
        }
        // An implementation after the first line of other code than the
        // type's own implementations (blank lines and comments are none) is
        // kept apart, unless one of them runs to the end of the file.
        QSet<qsizetype> own;
        bool allEnded = true;
        for (const Implementation& implementation : std::as_const(implementations)) {
            allEnded = allEnded && implementation.ended;
            for (const qsizetype position : implementation.positions)
                own.insert(position);
        }
        qsizetype otherCode = fileLines.size();
        if (blockEnd >= 0 && allEnded) {
            CodeLexer lexer;
            for (qsizetype k = blockEnd; k < fileLines.size(); ++k) {
                const QByteArrayView code = lexer.next(fileLines[k]);
                if (k > blockEnd && !own.contains(k) &&
                    !std::all_of(code.cbegin(), code.cend(), isSpaceChar)) {
                    otherCode = k;
                    break;
                }
            }
        }
        QList<MappedText> methodLines;
        for (const Implementation& implementation : std::as_const(implementations)) {
            if (implementation.positions.first() > otherCode) {
                record.laterMethods.append(PlacedText{qint32(implementation.positions.last()),
                                                      joined(implementation.lines)});
                continue;
            }
            methodLines.append(implementation.lines);
            if (implementation.ended)
                methodLines.append(MappedText(QByteArray("\n"), LineOrigin()));
        }
        // The names the block declares for itself are named through the type
        // in what is copied of its fields and members.
        QList<QByteArrayView> blockViews;
        for (const MappedText& line : std::as_const(blockLines))
            blockViews.append(line.text);
        const InsideNames inside = namesDeclaredInside(blockViews);
        for (qsizetype m = 0; m < record.members.size(); ++m) {
            qualifyNamesInside(record.members[m].declaration, inside, record.typeName,
                               memberParameters[m]);
            qualifyNamesInside(record.members[m].forwarder, inside, record.typeName,
                               memberParameters[m]);
        }
        record.blockText = joined(blockLines);
        record.methodText = joined(methodLines);
        records.append(record);
        if (blockEnd < 0)
            break; // every line after it belongs to its block
    }
    return records;
}

void expectSameRecords(const QList<TypeRecord>& actual, const QList<TypeRecord>& expected,
                       const QByteArray& source) {
    ASSERT_EQ(actual.size(), expected.size()) << source.toStdString();
    for (qsizetype i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].typeName, expected[i].typeName) << source.toStdString();
        const auto texts = [](const TypeRecord& record) {
            QList<MappedText> texts{record.blockText, record.methodText,
                                    forwarderTextOf(record.members), declareTextOf(record.members)};
            for (const PlacedText& method : record.laterMethods) {
                texts.append(method.text);
                texts.append(MappedText(QByteArray::number(method.afterLine), LineOrigin()));
            }
            return texts;
        };
        ASSERT_EQ(actual[i].laterMethods.size(), expected[i].laterMethods.size())
            << source.toStdString();
        const QList<MappedText> got = texts(actual[i]), wanted = texts(expected[i]);
        for (qsizetype t = 0; t < got.size(); ++t) {
            EXPECT_EQ(got[t].text, wanted[t].text) << source.toStdString();
            EXPECT_TRUE(got[t].origins == wanted[t].origins) << source.toStdString();
        }
    }
}

TEST(TypeScan, AgreesWithTheLiteralRulesOnRandomFiles) {
    const char* vocabulary[] = {
        "type A",
        "type B",
        "TYPE a",
        "type B extends A",
        "type C extends B",
        "type H as integer",
        "TYPE h AS A ' alias",
        "  type C",
        "\ttype A",
        "type",
        "end type",
        "END TYPE ' done",
        "  x as integer",
        "Y AS STRING",
        "  z as integer = 5",
        "private:",
        "sub A.f()",
        "SUB a.g(byval x as integer)",
        "sub A.h",
        "sub B.f(byref s as string, n as integer)",
        "sub AB.f()",
        "end sub",
        "exit sub",
        "function A.f() as integer",
        "function B.g(a() as integer) as integer",
        "end function",
        "end if",
        "property A.p() as integer",
        "property B.q(byval i as integer)",
        "end property",
        "print 1",
        "",
        "  ",
        "  union",
        "  end union",
        "  type",
        "  enum Colour",
        "  END ENUM",
        "  a as integer = 1 ' one",
        "\tas integer p, q(3)",
        "  scores(any) as string * 8",
        "  declare sub f(byval n as integer = 1)",
        "  declare property p() as integer",
        // Overloads: a member's declaration is told by its parameter types.
        "  declare sub f(byref s as string, n as integer)",
        "  DECLARE SUB F(BYVAL X AS INTEGER = 2)",
        "  declare function f() as integer",
        "dim A.count as integer",
        "end",
        "sub",
        "sub C.x.y()",
        "function C.f",
    };
    const int vocabularySize = int(sizeof(vocabulary) / sizeof(vocabulary[0]));
    QRandomGenerator random(20261208);
    for (int round = 0; round < 3000; ++round) {
        QByteArrayList lines;
        const int count = random.bounded(1, 30);
        for (int i = 0; i < count; ++i)
            lines.append(QByteArray(vocabulary[random.bounded(vocabularySize)]));
        const QByteArray source = lines.join('\n');
        expectSameRecords(scan(source), referenceScan(source), source);
        if (::testing::Test::HasFailure())
            return;
    }
}

TEST(TypeScan, TypeLines) {
    struct Case {
        const char* source;
        QByteArrayList names;
    };
    const Case cases[] = {
        {"type", {}},
        {"TYPE Shape", {QByteArray("Shape")}},
        {"Type Shape Extends Base", {QByteArray("Shape")}},
        {"   type Shape", {QByteArray("Shape")}},
        {"\ttype Shape", {QByteArray("Shape")}},
        {"type Handle as integer", {QByteArray("Handle")}},
        {"type Handle as integer\ntype Shape\nend type", {"Handle", "Shape"}},
        // Every line after a block without an end line is that block's.
        {"type Shape\n  x as integer\ntype Circle\ntype Ring", {QByteArray("Shape")}},
        {"type Shape ' base", {QByteArray("Shape")}},
        {"dim x as integer", {}},
        // A type a macro's body leaves open is closed where the macro is used.
        {"#macro BEGIN(n)\ntype n\n#endmacro\nBEGIN(Tag)\nend type\ntype Shape\nend type",
         {QByteArray("Shape")}},
        {"# MACRO BEGIN(n)\ntype n\n  id as integer\n# endmacro\ntype Shape\nend type",
         {QByteArray("Shape")}},
        {"#macro KIND(n)\ntype n\nend type\n#endmacro\ntype Shape\nend type", {"n", "Shape"}},
        {"/'\n#macro BEGIN(n)\n'/\ntype Shape\nend type\n#endmacro", {QByteArray("Shape")}},
    };
    for (const Case& c : cases) {
        QByteArrayList names;
        for (const TypeRecord& record : scan(QByteArray(c.source)))
            names.append(record.typeName);
        EXPECT_EQ(names, c.names) << c.source;
    }
}

// Every form of field line the compiler accepts in a type block, and the
// lines that declare no field. Each field gives "name:type" (scalar) or
// "name(i):type" (one element by index); "-" stands for a field that is
// not forwarded.
TEST(TypeScan, FieldsInEveryForm) {
    struct Case {
        const char* line;
        const char* fields;
    };
    const Case cases[] = {
        {"  x as Integer", "x:Integer"},
        {"X AS INTEGER", "X:INTEGER"},
        {"\tx\tas integer", "x:integer"},
        {"  title as string = \"untitled, for now\"", "title:string"},
        {"  n as integer = 5 ' five", "n:integer"},
        {"  p as integer ptr ' a pointer", "p:integer ptr"},
        {"  dim q as double", "q:double"},
        {"  As Integer a, b = 2", "a:Integer b:Integer"},
        {"  dim as string * 20 name1, name2", "name1:string name2:string"},
        {"  a as integer, b as string", "a:integer b:string"},
        {"  label as string * 20", "label:string"},
        {"  code as ZString * 8", "code:string"},
        {"  wide as wstring * 8", "-"},
        {"  scores(any) as integer", "scores(i):integer"},
        {"  ring (0 to 9) as single = {0}", "ring(i):single"},
        {"  as byte cells(3)", "cells(i):byte"},
        {"  grid(3, 3) as integer", "-"},
        {"  as integer plane(any, any)", "-"},
        {"  flags : 4 as ulong", "flags:ulong"},
        {"  c as const integer = 0", "c:const integer"},
        // Several statements on a line: each declares its own fields; a ":"
        // before a number is a bit field's.
        {"  x as integer : y as integer", "x:integer y:integer"},
        {"  a:4 as ulong : b : &h2 as ulong:c as byte", "a:ulong b:ulong c:byte"},
        {"  s as string = \"a:b\" : n as long ' n: a count", "s:string n:long"},
        {"  declare sub f() : w as double", "w:double"},
        {"private: x as integer", "x:integer"},
        {"  static made as integer : grid(2, 2) as byte", "-"},
        {"  x as integer :", "x:integer"},
        {"  : y as integer", "y:integer"},
        {"  cb as function(byval a as integer, byval b as integer) as integer",
         "cb:function(byval a as integer, byval b as integer) as integer"},
        // A keyword no property may be named by is reached through parent;
        // one that may is forwarded.
        {"  next as Node ptr", "-"},
        {"  Step As Integer", "-"},
        {"  as integer len, to, base, data", "len:integer - - data:integer"},
        {"  name as zstring * 8 : str as integer", "name:string str:integer"},
        {"  declare sub f(byval x as integer = 1)", ""},
        {"  static count as integer", ""},
        {"private:", ""},
        {"  protected : ", ""},
        {"  ' x as integer", ""},
        {"  union", ""},
        {"  end type", ""},
        {"  x = 5", ""},
        {"  #ifdef WIDE", ""},
    };
    for (const Case& c : cases) {
        QByteArrayList fields;
        for (const FieldForm& field : fieldsOfLine(QByteArray(c.line))) {
            if (field.shape == FieldForm::Shape::unforwarded)
                fields.append("-");
            else
                fields.append(field.name + (field.shape == FieldForm::Shape::indexed ? "(i)" : "") +
                              ':' + field.type);
        }
        EXPECT_EQ(fields.join(' '), QByteArray(c.fields)) << c.line;
    }
}

// Nested unions and types hold fields of the type; an enum's names are not
// fields, and the end lines of nested blocks do not end the type's block.
TEST(TypeScan, NestedBlocksInsideATypeBlock) {
    const TypeRecord record =
        scan(text({"type Shape", "  enum Kind", "    round, square", "    as_is", "  end enum",
                   "  union", "    whole as long", "    type", "      lo as short", "    end type",
                   "  end union", "  y as integer", "end type", "print 1"}))
            .value(0);
    EXPECT_TRUE(record.blockText.text.endsWith("  y as integer\nend type"));
    QByteArrayList names;
    for (const MemberEntry& member : record.members)
        names.append(member.key.name);
    EXPECT_EQ(names, QByteArrayList({"whole", "lo", "y"}));
}

// A named type or union nested in the block is a type of its own: its fields
// are not the type's, and a field of it is forwarded with the twin's copy of
// that type, which is what "parent" holds.
TEST(TypeScan, NamedTypesNestedInATypeBlock) {
    struct Case {
        const char* nested;
        const char* close;
    };
    for (const Case& c :
         {Case{"  type Point2", "  end type"}, Case{"  TYPE Point2 field = 1", "  End Type"},
          Case{"  union Point2", "  end union"}}) {
        const TypeRecord record =
            scan(text({"type Shape", c.nested, "    x as integer", "    y as integer", c.close,
                       "  origin as Point2", "  k as integer", "end type", "print 1"}))
                .value(0);
        EXPECT_TRUE(record.blockText.text.endsWith("  k as integer\nend type")) << c.nested;
        QByteArrayList names;
        for (const MemberEntry& member : record.members)
            names.append(member.key.name);
        EXPECT_EQ(names, QByteArrayList({"origin", "k"})) << c.nested;
        ASSERT_FALSE(record.members.isEmpty());
        EXPECT_TRUE(
            record.members[0].declaration.contains("typeof(Shape_generic_public_member.origin)"))
            << c.nested;
    }
}

// A member of a type nested in the block ("sub Shape.Point2.flip()") is not
// the type's: it is neither forwarded nor taken among its implementations,
// which the twin copies (the twin shares the nested type through an alias,
// and with it this implementation).
TEST(TypeScan, MembersOfNestedTypesAreNotTheTypes) {
    const struct {
        const char* header;
        const char* end;
        bool taken;
    } rows[] = {
        {"sub Shape.Point2.flip()", "end sub", false},
        {"private function Shape.Point2.len() as integer", "end function", false},
        {"Property SHAPE.point2.Size () As Integer", "End Property", false},
        {"operator Shape.Point2.cast() as string", "end operator", false},
        {"dim Shape.Point2.count as integer", "", false},
        {"dim as integer Shape.Point2.count = 2", "", false},
        {"dim shared Shape.count as integer", "", true},
        {"sub Shape.flip(byval p as Shape.Point2)", "end sub", true},
        {"function Shape.at() as Shape.Point2", "end function", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.header);
        QByteArrayList lines = {
            "type Shape", "  type Point2",      "    x as integer", "    declare sub flip()",
            "  end type", "  origin as Point2", "end type",         row.header};
        if (*row.end)
            lines += {"  print 1", row.end};
        const TypeRecord record = scan(lines.join('\n') + '\n').value(0);
        EXPECT_EQ(record.methodText.text.contains(row.header), row.taken);
        EXPECT_EQ(record.members.size(), row.taken && *row.end ? 2 : 1);
    }
}

TEST(TypeScan, BlockEndsAtItsEndLineOrTheEndOfTheFile) {
    EXPECT_EQ(scan(text({"type Outer", "  type", "  end type", "  y as integer", "end type"}))
                  .value(0)
                  .blockText.text,
              text({"type Outer", "  type", "  end type", "  y as integer", "end type"}));
    EXPECT_EQ(
        scan(text({"print 0", "type Shape", "  x as integer", "print 1"})).value(0).blockText.text,
        text({"type Shape", "  x as integer", "print 1"}));
    EXPECT_EQ(scan(text({"type Handle as integer", "type P", "end type"})).value(0).blockText.text,
              QByteArray("type Handle as integer"));
}

TEST(TypeScan, KindsComeInOrderAndImplementationsAreSeparated) {
    const TypeRecord record =
        scan(text({"type Shape", "end type", "property Shape.p() as integer", "  return 1",
                   "end property", "function Shape.f() as integer", "  exit function",
                   "end function", "sub Shape.s()", "  if 1 then", "  end if", "end sub"}))
            .value(0);
    EXPECT_EQ(declareTextOf(record.members).text,
              text({"  declare sub s()", "  declare function f() as integer",
                    "  declare property p() as integer"}));
    EXPECT_EQ(record.methodText.text,
              text({"sub Shape.s()", "  if 1 then", "  end if", "end sub", "\n",
                    "function Shape.f() as integer", "  exit function", "end function", "\n",
                    "property Shape.p() as integer", "  return 1", "end property", "\n"}));
    EXPECT_TRUE(record.methodText.text.endsWith(QByteArray("end property\n\n")));
}

// A field or implementation written in #if branches is copied under the same
// branches (those around the type line too hold the copies already), so that
// the compiler keeps exactly the members the original keeps.
TEST(TypeScan, CopiesStandUnderTheBranchesTheirLinesAreIn) {
    const TypeRecord record =
        scan(text({"#ifdef OUTER",  "type A",         "#ifdef F",  "  f as integer",
                   "#endif",        "  g as integer", "end type",  "#ifdef X",
                   "sub A.one()",   "end sub",        "#elseif Y", "#  ifndef Z",
                   "sub A.two()",   "end sub",        "#  endif",  "#else",
                   "sub A.three()", "end sub",        "#endif",    "sub A.four()",
                   "end sub",       "#endif"}))
            .value(0);
    // The implementations follow an #ifdef line: each is kept apart, for its
    // copy to stand right after it, in the branches it is in.
    EXPECT_EQ(record.methodText.text, QByteArray());
    QList<std::pair<qint32, QByteArray>> later;
    for (const PlacedText& method : record.laterMethods)
        later.append({method.afterLine, method.text.text});
    EXPECT_EQ(later,
              (QList<std::pair<qint32, QByteArray>>{{9, text({"sub A.one()", "end sub"})},
                                                    {13, text({"sub A.two()", "end sub"})},
                                                    {17, text({"sub A.three()", "end sub"})},
                                                    {20, text({"sub A.four()", "end sub"})}}));
    EXPECT_EQ(declareTextOf(record.members).text,
              text({"#ifdef F",
                    "  declare const property f() as integer",
                    "  declare property f(byval new_value as integer)",
                    "#endif",
                    "  declare const property g() as integer",
                    "  declare property g(byval new_value as integer)",
                    "#ifdef X",
                    "  declare sub one()",
                    "#endif",
                    "#ifdef X",
                    "#elseif Y",
                    "#  ifndef Z",
                    "  declare sub two()",
                    "#endif",
                    "#endif",
                    "#ifdef X",
                    "#elseif Y",
                    "#else",
                    "  declare sub three()",
                    "#endif",
                    "  declare sub four()"}));
    EXPECT_TRUE(record.members.value(0).forwarder.startsWith("#ifdef F\nproperty "));
    EXPECT_TRUE(record.members.value(0).forwarder.endsWith("end property\n#endif\n"));
}

// The guard around an instance's members that wait for another type holds
// only when the file's own copy of the instance is compiled; a header read
// before has the same members. What stands for them leaves that guard out,
// and keeps the branches the template wrote.
TEST(TypeScan, CopiesLeaveOutTheGuardOfAnInstancesLaterMembers) {
    const TypeRecord record =
        scan(text({"type Node_integer", "  v as integer", "end type",
                   "#ifdef __FBEXT_MEMBERS_Node_integer__", "private sub Node_integer.one()",
                   "end sub", "#ifdef X", "private sub Node_integer.two()", "end sub", "#endif",
                   "#endif", "#ifdef __FBEXT_MEMBERS_Other__", "#endif"}))
            .value(0);
    EXPECT_EQ(declareTextOf(record.members).text,
              text({"  declare const property v() as integer",
                    "  declare property v(byval new_value as integer)", "  declare sub one()",
                    "#ifdef X", "  declare sub two()", "#endif"}));
    EXPECT_FALSE(forwarderTextOf(record.members).text.contains("__FBEXT_MEMBERS_"));
    // An #ifdef of another name is a branch like any other.
    const TypeRecord other = scan(text({"type A", "end type", "#ifdef __FBEXT_MEMBERS",
                                        "sub A.one()", "end sub", "#endif"}))
                                 .value(0);
    EXPECT_EQ(declareTextOf(other.members).text,
              text({"#ifdef __FBEXT_MEMBERS", "  declare sub one()", "#endif"}));
}

// A header that goes on over several lines is forwarded whole; the
// implementation is copied as written.
TEST(TypeScan, AHeaderOverSeveralLinesIsForwardedWhole) {
    const TypeRecord record =
        scan(text({"type A", "  n as integer", "end type",
                   "function A.f(byval x as integer, _ ' the first", "    byval y as integer) _",
                   "    as integer", "  return x + y", "end function"}))
            .value(0);
    ASSERT_EQ(record.members.size(), 2);
    EXPECT_EQ(record.members[1].forwarder,
              text({"function class_for_interface##.f(byval x as integer, byval y as integer) as "
                    "integer ",
                    "  return parent.f(x,y)", "end function", ""}));
    EXPECT_EQ(record.members[1].declaration,
              "  declare function f(byval x as integer, byval y as integer) as integer");
    EXPECT_TRUE(record.methodText.text.startsWith(
        text({"function A.f(byval x as integer, _ ' the first", "    byval y as integer) _"})));
}

TEST(TypeScan, ImplementationsAreClaimedByQualifierAndPosition) {
    const QList<TypeRecord> records = scan(text(
        {"sub Shape.early()", "end sub", "type Shape", "end type", "sub Circle.draw()", "end sub",
         "sub shape.draw()", "end sub", "sub ShapeX.f()", "end sub", "type Circle", "end type"}));
    ASSERT_EQ(records.size(), 2);
    // After Circle's implementation, it is kept apart.
    EXPECT_EQ(records[0].methodText.text, QByteArray());
    ASSERT_EQ(records[0].laterMethods.size(), 1);
    EXPECT_EQ(records[0].laterMethods[0].text.text, text({"sub shape.draw()", "end sub"}));
    EXPECT_EQ(records[0].laterMethods[0].afterLine, 7);
    EXPECT_EQ(declareTextOf(records[0].members).text, QByteArray("  declare sub draw()"));
    // Written before its type line, Circle's implementation is not found.
    EXPECT_EQ(records[1].methodText.text, QByteArray());
}

// An implementation may say its linkage and "static" or "const" before its
// keyword, as the compiler allows; it is the type's all the same.
TEST(TypeScan, ImplementationsMaySayLinkageStaticOrConst) {
    const TypeRecord record =
        scan(text({"type Shape", "end type", "private sub Shape.move()", "end sub",
                   "Static Function Shape.kind() as string", "end function",
                   "public const function Shape.area() as integer", "end function",
                   "const LIMIT = 3", "static shared n as integer"}))
            .value(0);
    EXPECT_EQ(declareTextOf(record.members).text,
              text({"  declare sub move()", "  declare Function kind() as string",
                    "  declare function area() as integer"}));
    EXPECT_EQ(record.methodText.text,
              text({"private sub Shape.move()", "end sub", "\n",
                    "Static Function Shape.kind() as string", "end function", "\n",
                    "public const function Shape.area() as integer", "end function", "\n"}));
}

// A field's type that one of the type's own field or member names hides on
// an extending type is named through the twin's field; other types as written.
TEST(TypeScan, FieldTypesHiddenByTheTypesOwnNamesAreNamedThroughTheTwin) {
    const struct {
        const char* field;
        const char* member; // implemented after the block, or nothing
        const char* declared;
    } cases[] = {
        {"probe as Probe", nullptr,
         "  declare property probe() byref as typeof(Machine_generic_public_member.probe)"},
        {"dim state as STATE", nullptr,
         "  declare property state() byref as typeof(Machine_generic_public_member.state)"},
        {"pos as Spot", "function Machine.spot() as integer\nend function",
         "  declare property pos() byref as typeof(Machine_generic_public_member.pos)"},
        {"last as Probe ptr", "private sub Machine.probe()\nend sub",
         "  declare const property last() as typeof(Machine_generic_public_member.last)"},
        {"pos as Spot", "function Machine.spots() as integer\nend function",
         "  declare property pos() byref as Spot"},
        {"x as integer", "function Machine.integer_() as integer\nend function",
         "  declare const property x() as integer"},
    };
    for (const auto& c : cases) {
        QByteArrayList lines{"type Machine", QByteArray("  ") + c.field, "end type"};
        if (c.member)
            lines.append(c.member);
        const TypeRecord record = scan(lines.join('\n')).value(0);
        ASSERT_FALSE(record.members.isEmpty()) << c.field;
        EXPECT_EQ(record.members[0].declaration.split('\n').value(0), c.declared) << c.field;
    }
}

TEST(TypeScan, ImplementationWithoutEndLineHidesEverythingAfterIt) {
    const QList<TypeRecord> records =
        scan(text({"type Shape", "end type", "sub Shape.f()", "  x = 1", "type Circle", "end type",
                   "function Shape.g() as integer", "end function"}));
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].methodText.text,
              text({"sub Shape.f()", "  x = 1", "type Circle", "end type",
                    "function Shape.g() as integer", "end function"}));
    // The function header was met inside the sub: it is generated all the same.
    EXPECT_EQ(declareTextOf(records[0].members).text, QByteArray("  declare sub f()"));
}

// A procedure written on one line ends there, and only its header, the first
// statement, is forwarded; one going on after its header ends at its end line.
TEST(TypeScan, ProceduresOnOneLineEndOnIt) {
    const TypeRecord record =
        scan(text({"type Shape", "end type", "sub Shape.f() : x = 1 : end sub",
                   "function Shape.g(byval a as integer) as integer : return a", "end function",
                   "sub Shape.h() : y = 2 : end sub ' done"}))
            .value(0);
    EXPECT_EQ(declareTextOf(record.members).text,
              text({"  declare sub f()", "  declare sub h()",
                    "  declare function g(byval a as integer) as integer"}));
    EXPECT_EQ(
        record.methodText.text,
        text({"sub Shape.f() : x = 1 : end sub", "\n", "sub Shape.h() : y = 2 : end sub ' done",
              "\n", "function Shape.g(byval a as integer) as integer : return a", "end function",
              "\n"}));
}

TEST(TypeScan, HeaderMetInsideAnImplementationIsGeneratedAndTaken) {
    const TypeRecord record =
        scan(text({"type Shape", "end type", "sub Shape.f()", "sub Shape.g()", "end sub"}))
            .value(0);
    EXPECT_EQ(declareTextOf(record.members).text, text({"  declare sub f()", "  declare sub g()"}));
    EXPECT_EQ(record.methodText.text, text({"sub Shape.f()", "sub Shape.g()", "end sub", "\n"}));
}

TEST(TypeScan, ConstructorsDestructorsAndOperatorsComeLastAndAreNotForwarded) {
    const QList<TypeRecord> records = scan(text({"constructor Shape()",
                                                 "end constructor",
                                                 "type Shape",
                                                 "  x as integer",
                                                 "end type",
                                                 "operator Shape.cast() as string",
                                                 "  return str(x)",
                                                 "end operator",
                                                 "destructor shape",
                                                 "end destructor",
                                                 "constructor  SHAPE( byval n as integer )",
                                                 "  x = n",
                                                 "end constructor",
                                                 "constructor ShapeX()",
                                                 "end constructor",
                                                 "constructor Shape",
                                                 "end constructor",
                                                 "sub Shape.f()",
                                                 "end sub",
                                                 "operator Shape.let(byref r as Shape)",
                                                 "  x = r.x"}));
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].methodText.text,
              text({"sub Shape.f()", "end sub", "\n", "constructor  SHAPE( byval n as integer )",
                    "  x = n", "end constructor", "\n", "constructor Shape", "end constructor",
                    "\n", "destructor shape", "end destructor", "\n",
                    "operator Shape.cast() as string", "  return str(x)", "end operator", "\n",
                    "operator Shape.let(byref r as Shape)", "  x = r.x"}));
    // Only the field and the sub reach an extending type.
    EXPECT_EQ(declareTextOf(records[0].members).text,
              text({"  declare const property x() as integer",
                    "  declare property x(byval new_value as integer)", "  declare sub f()"}));
}

// A member taking variable arguments is not forwarded: the forwarder would
// call the parent's without them. Its twin keeps it, reached through parent.
TEST(TypeScan, MembersTakingVariableArgumentsAreNotForwarded) {
    const QList<TypeRecord> records = scan(
        text({"type Stats", "  declare function average cdecl(count as integer, ...) as double",
              "  declare sub note(byval s as string = \"...\")", "end type",
              "function Stats.average cdecl(count as integer, ...) as double", "  return 0",
              "end function", "sub Stats.note(byval s as string = \"...\")", "end sub"}));
    ASSERT_EQ(records.size(), 1);
    EXPECT_TRUE(records[0].methodText.text.contains("function Stats.average cdecl"));
    EXPECT_EQ(declareTextOf(records[0].members).text,
              text({"  declare sub note(byval s as string = \"...\")"}));
}

TEST(TypeScan, ConstructorHeadersNameTheTypeItself) {
    struct Case {
        const char* token;
        bool names;
    };
    const Case cases[] = {{"Shape", true},   {"shape()", true},   {"SHAPE(byval", true},
                          {"ShapeX", false}, {"ShapeX()", false}, {"Shape.x", false},
                          {"Shap", false},   {"Shape (", false}};
    for (const Case& c : cases)
        EXPECT_EQ(namesType(QByteArray(c.token), "Shape"), c.names) << c.token;
}

// An enum is known by its own name, and inside a namespace also by the name
// code outside it writes; the namespace ends with its end line. One in a
// comment is not there.
TEST(TypeScan, EnumNamesWithTheirNamespaces) {
    struct Case {
        QByteArrayList lines;
        QSet<QByteArray> names;
    };
    const Case cases[] = {
        {{"enum Color", "  Red", "end enum"}, {"color"}},
        {{"  ENUM Mode : Off : end enum", "enum", "end enum"}, {"mode"}},
        {{"namespace Geo", "enum Mode", "end enum", "end namespace", "enum Fill"},
         {"mode", "geo.mode", "fill"}},
        {{"namespace A", "namespace B", "enum E", "end enum", "end namespace", "enum F",
          "end namespace", "enum G"},
         {"e", "a.b.e", "f", "a.f", "g"}},
        {{"namespace Geo.Shapes", "enum Kind", "end enum", "end namespace"},
         {"kind", "geo.shapes.kind"}},
        {{"type Light", "  enum Mode", "  end enum", "end type", "dim e as Enumerator"}, {"mode"}},
        // Commented out or switched off: no enum, whatever the lines around it.
        {{"/'", "enum Mode", "end enum", "'/", "type Mode", "end type"}, {}},
        {{"enum Fill /' a", "enum Old", "'/ : end enum", "' enum Gone", "rem enum Gone"}, {"fill"}},
        {{"#if 0", "enum Mode", "end enum", "#endif", "enum Kept", "end enum"}, {"kept"}},
        {{"/' namespace Geo '/", "enum Mode", "end enum"}, {"mode"}},
        // An unnamed namespace adds no name to those around it.
        {{"namespace A", "namespace", "enum E", "end enum", "end namespace", "enum F",
          "end namespace", "enum G"},
         {"e", "a.e", "f", "a.f", "g"}},
        {{"namespace", "namespace B", "enum E", "end enum", "end namespace", "end namespace"},
         {"e", "b.e"}},
    };
    for (const Case& c : cases) {
        const QByteArray source = c.lines.join('\n');
        EXPECT_EQ(enumNamesOf(LineIndex(source)), c.names) << source.constData();
    }
}

// Namespaces nested thousands deep: each namespace line costs what its own
// name does, so four times the depth takes about four times as long.
TEST(TypeScan, EnumNamesUnderNamespacesNestedDeep) {
    // 20,000 deep once took seconds and memory growing with the square of the
    // depth (bench/degenerate_bench times it).
    const int depth = 20000;
    QByteArrayList lines;
    for (int i = 0; i < depth; ++i)
        lines.append("namespace N" + QByteArray::number(i % 10));
    lines.append("enum E : end enum");
    for (int i = 0; i < depth; ++i)
        lines.append("end namespace");
    const QByteArray source = lines.join('\n');
    const QSet<QByteArray> names = enumNamesOf(LineIndex(source));
    EXPECT_EQ(names.size(), 2);
    EXPECT_TRUE(names.contains("e"));
}

TEST(TypeScan, NoTypesGiveNoRecords) {
    EXPECT_TRUE(scan(text({"print 1", "sub f()", "end sub"})).isEmpty());
    EXPECT_TRUE(scan(QByteArray()).isEmpty());
}

} // namespace
