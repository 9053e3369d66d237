#include "blockscanner.h"
#include "codelexer.h"

#include <QByteArrayList>

#include <gtest/gtest.h>

namespace {

// Each line is written "N|code": N is the line (counting from 1) that starts
// the module-level statement holding it, where anything the line needs at
// module level must go.
void expectAnchors(const QByteArrayList& numbered) {
    QByteArrayList lines;
    QList<qsizetype> expected;
    for (const QByteArray& line : numbered) {
        const qsizetype bar = line.indexOf('|');
        expected.append(line.left(bar).toLongLong());
        lines.append(line.mid(bar + 1));
    }
    CodeLexer lexer;
    BlockScanner scanner;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView code = lexer.next(lines[i]);
        EXPECT_EQ(scanner.next(i, code, lexer) + 1, expected[i])
            << "line " << i + 1 << ": " << lines[i].constData();
    }
}

TEST(BlockScanner, ModuleLevelStatementsStandForThemselves) {
    expectAnchors({"1|dim a as integer", "2|", "3|print a : a += 1", "4|' a comment"});
}

TEST(BlockScanner, ProceduresTypesAndNamespacesEncloseTheirLines) {
    expectAnchors({"1|Sub show(ByVal s As Stack<<<integer>>>)",
                   "1|  dim x as Stack<<<double>>>",
                   "1|  if x.count = 0 then",
                   "1|    exit sub",
                   "1|  end if",
                   "1|End Sub",
                   "7|type Player",
                   "7|  scores as Stack<<<integer>>>",
                   "7|  declare function best() as integer",
                   "7|end type",
                   "11|private function Player.best() as integer",
                   "11|  function = 0",
                   "11|  dim s as integer",
                   "11|end function",
                   "15|namespace geo",
                   "15|  type P",
                   "15|    x as integer",
                   "15|  end type",
                   "15|  sub f() : end sub",
                   "15|end namespace",
                   "21|print 1",
                   "22|static function Player.top() as Stack<<<integer>>>",
                   "22|  static n as integer",
                   "22|end function",
                   "25|Public Const Function Player.size() as integer",
                   "25|  const k = 2",
                   "25|end function",
                   "28|const LIMIT = 3",
                   "29|static shared s as Stack<<<long>>>"});
}

TEST(BlockScanner, CompoundStatements) {
    expectAnchors({"1|for i as integer = 1 to 3",
                   "1|  for j as integer = 1 to 3",
                   "1|  next j, i",
                   "4|do while x",
                   "4|  while y : wend",
                   "4|loop",
                   "7|select case k",
                   "7|  case 1 : print",
                   "7|end select",
                   "10|with p",
                   "10|end with",
                   "12|scope",
                   "12|end scope",
                   "14|asm",
                   "14|  mov eax, 1",
                   "14|end asm",
                   "17|asm mov eax, 1",
                   "18|extern \"C\"",
                   "18|  declare sub f()",
                   "18|end extern",
                   "21|extern x as integer",
                   "22|enum Colour",
                   "22|  red",
                   "22|end enum",
                   "25|union U",
                   "25|  a as byte",
                   "25|end union",
                   "28|type Alias as integer",
                   "29|dim z as Alias",
                   "30|for k = 1 to 2 : print k : next",
                   "31|do : loop",
                   "32|print"});
}

TEST(BlockScanner, IfIsABlockOnlyWhenNothingFollowsItsThen) {
    expectAnchors({"1|if a then print a", "2|if a then print a else print b",
                   "3|If a Then ' a block", "3|  print a", "3|ElseIf b Then", "3|Else", "3|End If",
                   "8|if a then : print a", "8|endif",
                   "10|if a then for i = 1 to 3 : print i : next", "11|if a goto done", "12|if a _",
                   "12|  andalso b then", "12|  print", "12|end if", "16|if a then _",
                   "16|  print a", "18|if \"x\" = s then print \"then\"", "19|print"});
}

TEST(BlockScanner, PreprocessorBlocksAndMacros) {
    expectAnchors({"1|#ifdef __FB_WIN32__", "1|  dim w as Stack<<<integer>>>", "1|#else",
                   "1|  dim w as Stack<<<long>>>", "1|#endif", "6|#macro twice(x)",
                   "6|  sub x() : end sub", "6|  if x then", "6|#endmacro", "10|print",
                   // the branches of an #if are alternatives of one procedure header
                   "11|#ifdef BIG", "11|sub grow(byval n as longint)", "11|#else",
                   "11|sub grow(byval n as integer)", "11|#endif", "11|  print n", "11|end sub",
                   "18|print"});
}

// The compiler takes blanks after the "#" and any letter case.
TEST(BlockScanner, PreprocessorBlocksSpeltWithBlanks) {
    expectAnchors({"1|# ifdef __FB_WIN32__", "1|  dim w as Stack<<<integer>>>", "1|#\tELSE",
                   "1|  dim w as Stack<<<long>>>", "1|  #  EndIf", "6|# macro open_type(n)",
                   "6|  type n", "6|#\tendmacro", "9|print"});
}

TEST(BlockScanner, ContinuationsCommentsAndStrings) {
    expectAnchors({"1|dim a as Stack<<<integer>>> = _", "1|  Stack<<<integer>>>()",
                   "3|print \"sub : type x\" ' sub y", "4|rem sub z", "5|/' sub a",
                   "5|end sub '/ dim b as integer", "7|x = 1 /' open", "7|'/ dim c as integer",
                   "9|print"});
}

TEST(BlockScanner, UnmatchedEndsDoNotSwallowTheFile) {
    expectAnchors({"1|end sub", "2|next", "3|sub f()", "3|  for i = 1 to 3", "3|  do", "3|end sub",
                   "7|print", "8|type T", "8|end type", "10|print"});
}

} // namespace
