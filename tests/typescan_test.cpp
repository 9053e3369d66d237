#include "classsteps.h"
#include "classtext.h"
#include "forwarding.h"
#include "typescan.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

QList<TypeRecord> scan(const QByteArray& source) {
    const MappedText mapped = sourceOf(source);
    return scanTypes(splitLines(mapped.text), mapped.origins);
}

MappedText joined(const QList<MappedText>& parts) {
    MappedTextBuilder text;
    for (const MappedText& part : parts)
        text.add(part);
    return text.take();
}

// The scanning rules transcribed literally, to check the indexed scan against:
// every scan walks the working list from the type line to its end and erases
// the lines it takes.
QList<TypeRecord> referenceScan(const QByteArray& source) {
    const MappedText mapped = sourceOf(source);
    QByteArrayList lines = mapped.text.split('\n');
    QList<LineOrigin> origins = mapped.origins;
    const QByteArrayView kinds[] = {QByteArrayView("sub"),        QByteArrayView("function"),
                                    QByteArrayView("property"),   QByteArrayView("constructor"),
                                    QByteArrayView("destructor"), QByteArrayView("operator")};
    QList<TypeRecord> records;
    for (qsizetype j = 0; j < lines.size(); ++j) {
        const QByteArray typeLine = lines[j];
        const Tokens tokens = lineTokens(typeLine);
        if (tokens.size() < 2 || !isKeyword(tokens[0], "type"))
            continue;
        TypeRecord record;
        record.typeName = tokens[1].toByteArray();
        const QByteArray prefix = record.typeName + '.';
        QList<MappedText> forwarders, declarations, blockLines, methodLines;
        for (qsizetype k = j; k < lines.size(); ++k) {
            blockLines.append(MappedText(lines[k], origins[k]));
            const Tokens t = lineTokens(lines[k]);
            if (t.size() < 2)
                continue;
            if (t.size() == 3 && isKeyword(t[1], "as")) {
                const ForwardEntry entry = forwardField(t[0], t[2]);
                forwarders.append(MappedText(entry.forwarder, origins[k]));
                declarations.append(MappedText(entry.declaration, origins[k]));
            }
            if (isKeyword(t[0], "end") && isKeyword(t[1], "type"))
                break;
        }
        for (QByteArrayView kind : kinds) {
            const bool namesTypeItself =
                kind == QByteArrayView("constructor") || kind == QByteArrayView("destructor");
            const bool forwarded = !namesTypeItself && kind != QByteArrayView("operator");
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
                             : startsWithIgnoringCase(t[1], prefix));
                    if (header && forwarded) {
                        const ForwardEntry entry = forwardMember(kind, t, memberNameOf(line),
                                                                 argumentListOf(line), prefix);
                        forwarders.append(MappedText(entry.forwarder, origins[k]));
                        declarations.append(MappedText(entry.declaration, origins[k]));
                    }
                    if (header)
                        inMember = true;
                    if (isKeyword(t[1], kind) && inMember && isKeyword(t[0], "end")) {
                        methodLines.append(MappedText(line, origins[k]));
                        methodLines.append(MappedText(QByteArray("\n"), LineOrigin()));
                        lines.removeAt(k);
                        origins.removeAt(k);
                        --k;
                        inMember = false;
                        continue;
                    }
                }
                if (inMember) {
                    methodLines.append(MappedText(line, origins[k]));
                    lines.removeAt(k);
                    origins.removeAt(k);
                    --k;
                }
            }
        }
        record.forwarderText = joined(forwarders);
        record.declareText = joined(declarations);
        record.blockText = joined(blockLines);
        record.methodText = joined(methodLines);
        records.append(record);
    }
    return records;
}

void expectSameRecords(const QList<TypeRecord>& actual, const QList<TypeRecord>& expected,
                       const QByteArray& source) {
    ASSERT_EQ(actual.size(), expected.size()) << source.toStdString();
    for (qsizetype i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].typeName, expected[i].typeName) << source.toStdString();
        for (auto field : {&TypeRecord::blockText, &TypeRecord::methodText,
                           &TypeRecord::forwarderText, &TypeRecord::declareText}) {
            EXPECT_EQ((actual[i].*field).text, (expected[i].*field).text) << source.toStdString();
            EXPECT_TRUE((actual[i].*field).origins == (expected[i].*field).origins)
                << source.toStdString();
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
        {"type Shape ' base", {QByteArray("Shape")}},
        {"dim x as integer", {}},
    };
    for (const Case& c : cases) {
        QByteArrayList names;
        for (const TypeRecord& record : scan(QByteArray(c.source)))
            names.append(record.typeName);
        EXPECT_EQ(names, c.names) << c.source;
    }
}

TEST(TypeScan, FieldsAreLinesOfExactlyNameAsType) {
    const TypeRecord record =
        scan(text({"type Shape", "  x as Integer", "  y as integer = 5", "  As Integer z",
                   "X AS INTEGER", "  declare sub f()", "private:", "end type"}))
            .value(0);
    EXPECT_EQ(record.declareText.text, text({"  declare property x() as Integer",
                                             "  declare property x(byval new_value as Integer)",
                                             "  declare property X() as INTEGER",
                                             "  declare property X(byval new_value as INTEGER)"}));
}

TEST(TypeScan, BlockEndsAtTheFirstEndLineOrTheEndOfTheFile) {
    EXPECT_EQ(scan(text({"type Outer", "  type Inner", "  end type", "  y as integer", "end type"}))
                  .value(0)
                  .blockText.text,
              text({"type Outer", "  type Inner", "  end type"}));
    EXPECT_EQ(
        scan(text({"print 0", "type Shape", "  x as integer", "print 1"})).value(0).blockText.text,
        text({"type Shape", "  x as integer", "print 1"}));
}

TEST(TypeScan, KindsComeInOrderAndImplementationsAreSeparated) {
    const TypeRecord record =
        scan(text({"type Shape", "end type", "property Shape.p() as integer", "  return 1",
                   "end property", "function Shape.f() as integer", "  exit function",
                   "end function", "sub Shape.s()", "  if 1 then", "  end if", "end sub"}))
            .value(0);
    EXPECT_EQ(record.declareText.text,
              text({"  declare sub s()", "  declare function f() as integer",
                    "  declare property p() as integer"}));
    EXPECT_EQ(record.methodText.text,
              text({"sub Shape.s()", "  if 1 then", "  end if", "end sub", "\n",
                    "function Shape.f() as integer", "  exit function", "end function", "\n",
                    "property Shape.p() as integer", "  return 1", "end property", "\n"}));
    EXPECT_TRUE(record.methodText.text.endsWith(QByteArray("end property\n\n")));
}

TEST(TypeScan, ImplementationsAreClaimedByQualifierAndPosition) {
    const QList<TypeRecord> records = scan(text(
        {"sub Shape.early()", "end sub", "type Shape", "end type", "sub Circle.draw()", "end sub",
         "sub shape.draw()", "end sub", "sub ShapeX.f()", "end sub", "type Circle", "end type"}));
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].methodText.text, text({"sub shape.draw()", "end sub", "\n"}));
    EXPECT_EQ(records[0].declareText.text, QByteArray("  declare sub draw()"));
    // Written before its type line, Circle's implementation is not found.
    EXPECT_EQ(records[1].methodText.text, QByteArray());
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
    EXPECT_EQ(records[0].declareText.text, QByteArray("  declare sub f()"));
}

TEST(TypeScan, HeaderMetInsideAnImplementationIsGeneratedAndTaken) {
    const TypeRecord record =
        scan(text({"type Shape", "end type", "sub Shape.f()", "sub Shape.g()", "end sub"}))
            .value(0);
    EXPECT_EQ(record.declareText.text, text({"  declare sub f()", "  declare sub g()"}));
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
    EXPECT_EQ(records[0].declareText.text,
              text({"  declare property x() as integer",
                    "  declare property x(byval new_value as integer)", "  declare sub f()"}));
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

TEST(TypeScan, NoTypesGiveNoRecords) {
    EXPECT_TRUE(scan(text({"print 1", "sub f()", "end sub"})).isEmpty());
    EXPECT_TRUE(scan(QByteArray()).isEmpty());
}

} // namespace
