// Which source files may be rewritten: those whose bytes hold what the passes
// act on, in any letter case and wherever it stands; every other file is
// read and compiled without a journal.

#include "extensionuse.h"

#include <gtest/gtest.h>

namespace {

TEST(ExtensionUse, OnlyBytesThatHoldWhatThePassesActOnMayBeRewritten) {
    struct Case {
        QByteArray bytes;
        bool mayUse;
    };
    const Case cases[] = {
        {"", false},
        {"print \"line 1\"\r\ndim t as integer\n", false},
        {"dim b as Box<<<integer>>>\n", true},
        {"x = a << 2 << b <<", false},
        {"<<<", true},
        {"TEMPLATE Box\n", true},
        {"  tEmPlAtE", true},
        {"templat", false},
        {"type D Extends P\n", true},
        {"extend", false},
        {"' comments count too: extends\n", true},
        {"print \"templates\"", true},
        {QByteArray("\0\xfftemplate", 10), true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.bytes.toStdString());
        EXPECT_EQ(mayUseExtensions(test.bytes), test.mayUse);
    }
}

} // namespace
