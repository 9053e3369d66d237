#include "classsteps.h"
#include "classtext.h"
#include "lineviews.h"
#include "privateparts.h"

#include <gtest/gtest.h>

namespace {

TEST(PrivateParts, OtherValuesOfTheTypeReachItsPrivatePartThroughTheTwin) {
    // $ stands for "cptr(A_generic_public_member ptr, ".
    struct Case {
        const char* header;
        const char* body;
        const char* expected;
    };
    const Case cases[] = {
        {"function A.f(byref o as A) as integer", "return o.n + n", "return $@o)->n + n"},
        {"function A.f(byval o as const A) as integer", "return O . N", "return $@O)-> N"},
        {"function A.f(xs() as A) as integer", "return xs(i + (1)).n", "return $@xs(i + (1)))->n"},
        {"function A.f(byval p as A ptr) as integer", "return p->hidden()", "return $p)->hidden()"},
        {"sub A.f()", "dim as A a, b", "dim as A a, b"},
        {"sub A.f(byref o as A)", "with o\n    print .n; .m; q.n\n  end with",
         "with *$@o)\n    print .n; .m; q.n\n  end with"},
        {"sub A.f(byref o as A)", "with o\n    print .m; x.n\n  end with",
         "with o\n    print .m; x.n\n  end with"},
        {"sub A.f(byref o as A, p as B)",
         "with o\n    with p\n      print .n\n    end with\n  end with",
         "with o\n    with p\n      print .n\n    end with\n  end with"},
        {"sub A.f()", "dim byref r as A = this : r.n = 1", "dim byref r as A = this : $@r)->n = 1"},
        // Left as written: public names, other types, strings, comments,
        // member chains and values whose type is not known.
        {"function A.f(byref o as A) as integer", "return o.shown", "return o.shown"},
        {"function A.f(byref o as B) as integer", "return o.n", "return o.n"},
        {"function A.f(byref o as A) as string", "return \"o.n\" ' o.n", "return \"o.n\" ' o.n"},
        {"function A.f(byref o as A) as integer", "return x.o.n", "return x.o.n"},
        {"function A.f() as integer", "return q.n", "return q.n"},
    };
    const QSet<QByteArray> privateNames = {"n", "hidden"};
    for (const Case& c : cases) {
        QByteArray input = QByteArray(c.header) + "\n  " + c.body + "\n";
        reachPrivatePartsThroughTwin(input, "A", privateNames);
        EXPECT_EQ(input,
                  QByteArray(c.header) + "\n  " +
                      QByteArray(c.expected).replace("$", "cptr(A_generic_public_member ptr, ") +
                      "\n")
            << c.body;
    }
    // The names come from the block's private sections only.
    const TypeRecord record =
        resolved(
            text({"type A", "  shown as integer", "private:", "  n as integer",
                  "  declare function hidden() as integer", "public:", "  m as integer", "end type",
                  "function A.f(byref o as A) as integer", "  return o.n + o.m + o.shown",
                  "end function", "type B extends A", "end type"}))
            .value(0);
    EXPECT_TRUE(record.twinMethodText.text.contains(
        "return cptr(A_generic_public_member ptr, @o)->n + o.m + o.shown"));
    EXPECT_TRUE(record.methodText.text.contains("  return o.n + o.m + o.shown"));
}

} // namespace
