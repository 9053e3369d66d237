#pragma once

// A small source tree in a sandbox whose files must come out of every run
// exactly as they went in: bytes and modification times.

#include "filetime.h"
#include "sandbox.h"

#include <QDir>
#include <QMap>
#include <QStringList>

#include <gtest/gtest.h>

struct SourceTree {
    const Sandbox& sandbox;
    QMap<QString, QByteArray> bytes; // relative path -> original bytes
    QMap<QString, FileTime> times;

    // Writes a file with an old, odd modification time, so a file that was
    // rewritten and not put back shows in its time too.
    void add(const QString& relative, const QByteArray& content) {
        sandbox.writeFile(relative, content);
        const FileTime old{1500000000 + bytes.size(), 123456789, true};
        ASSERT_TRUE(restoreFileTime(sandbox.path(relative), old));
        bytes.insert(relative, content);
        times.insert(relative, readFileTime(sandbox.path(relative)));
    }

    // main.bas including lib/list.bi, which includes common.bi: line ends of
    // both kinds, a lone CR, a NUL byte and bytes above 127 along the way.
    void addTypicalProgram(const QString& mainName = QStringLiteral("main.bas")) {
        add(mainName, "#include once \"lib/list.bi\"\r\nprint \"caf\xe9\"\r\n");
        static const char list[] =
            "#include once \"common.bi\"\ndim shared x as integer\rx = 1\n\0tail\xff\n";
        if (!bytes.contains(QStringLiteral("lib/list.bi")))
            add(QStringLiteral("lib/list.bi"), QByteArray(list, sizeof list - 1));
        if (!bytes.contains(QStringLiteral("lib/common.bi")))
            add(QStringLiteral("lib/common.bi"), "const N = 3\n");
    }

    bool isRewritten(const QString& relative) const {
        return sandbox.readFile(relative) != bytes.value(relative);
    }

    // Every file holds its original bytes and modification time.
    void expectIntact() const {
        for (auto it = bytes.cbegin(); it != bytes.cend(); ++it) {
            EXPECT_EQ(sandbox.readFile(it.key()), it.value()) << qPrintable(it.key());
            const FileTime now = readFileTime(sandbox.path(it.key()));
            const FileTime then = times.value(it.key());
            EXPECT_EQ(now.seconds, then.seconds) << qPrintable(it.key());
            EXPECT_EQ(now.nanoseconds, then.nanoseconds) << qPrintable(it.key());
        }
    }
};

// Journals of runs in progress or killed before their restore.
inline QStringList journalsIn(const Sandbox& sandbox) {
    return QDir(sandbox.userDataDir() + QStringLiteral("/journals"))
        .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

// What a run may say after another was killed (it repairs what that one left,
// or takes over a file it was writing): nothing, or that a file was cut in
// the middle of a write and what it held then is kept.
inline void expectOnlyCutFilesReported(const QByteArray& standardError) {
    for (const QByteArray& line : standardError.split('\n')) {
        if (line.isEmpty())
            continue;
        EXPECT_TRUE(line.contains(" was being written when an earlier run was stopped; its "
                                  "original is back"))
            << line.constData();
    }
}
