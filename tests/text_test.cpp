#include "qtprinting.h"
#include "sourcefile.h"
#include "text.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray textOf(const QByteArray& bytes) {
    const std::optional<SourceText> source = sourceTextFromBytes(bytes);
    return source ? source->text : QByteArray("<none>");
}

// Every line end the compiler knows (LF, CR LF, CR alone) becomes one line
// feed; the text stops at a NUL; every other byte stays as it is.
TEST(Text, SourceTextKeepsEveryLineEndTheCompilerSees) {
    QByteArray all;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r')
            all.append(char(b));
    }
    EXPECT_EQ(textOf(all), all);
    const struct {
        QByteArray bytes;
        const char* text;
    } cases[] = {
        {"a\r\nb\r\n", "a\nb\n"},
        {"print \"one\"\r' comment\rprint \"two\"\r", "print \"one\"\n' comment\nprint \"two\"\n"},
        {"a\r\r\nb\n\rc", "a\n\nb\n\nc"},
        {"\r\r", "\n\n"},
        {"x\r", "x\n"},
        {QByteArray("ab\0cd", 5), "ab"},
        {QByteArray("x\r\n\0y\r\n", 7), "x\n"},
        {QByteArray("x\r\0\n", 4), "x\n"},
        {QByteArray(), ""},
        {"\xe9\xff\r\n\x80", "\xe9\xff\n\x80"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(textOf(c.bytes), QByteArray(c.text)) << c.bytes.toStdString();
}

// A byte order mark is not part of the text, and goes back in front when the
// file is written; a UTF-16 or UTF-32 file is read as its characters in
// UTF-8 and written back in its own form.
TEST(Text, ByteOrderMarks) {
    const std::optional<SourceText> marked = sourceTextFromBytes("\xef\xbb\xbfprint 1\r\n");
    ASSERT_TRUE(marked);
    EXPECT_EQ(marked->form, SourceForm::Utf8Mark);
    EXPECT_EQ(marked->text, QByteArray("print 1\n"));
    EXPECT_EQ(sourceBytesFromText(marked->text, SourceForm::Utf8Mark).left(4),
              QByteArray("\xef\xbb\xbfp"));
    EXPECT_EQ(sourceTextFromBytes("print 1")->form, SourceForm::Bytes);
    EXPECT_EQ(sourceTextFromBytes("\xef\xbbprint")->form, SourceForm::Bytes);
    struct Wide {
        QByteArray bytes; // "p\r\né" and a line feed, in the form
        SourceForm form;
    };
    const QList<Wide> wides = {
        {QByteArray("\xff\xfep\0\r\0\n\0\xe9\0\n\0", 12), SourceForm::Utf16LE},
        {QByteArray("\xfe\xff\0p\0\r\0\n\0\xe9\0\n", 12), SourceForm::Utf16BE},
        {QByteArray("\xff\xfe\0\0p\0\0\0\r\0\0\0\n\0\0\0\xe9\0\0\0\n\0\0\0", 24),
         SourceForm::Utf32LE},
        {QByteArray("\0\0\xfe\xff\0\0\0p\0\0\0\r\0\0\0\n\0\0\0\xe9\0\0\0\n", 24),
         SourceForm::Utf32BE},
    };
    for (const Wide& wide : wides) {
        SCOPED_TRACE(wide.bytes.toHex().constData());
        const std::optional<SourceText> source = sourceTextFromBytes(wide.bytes);
        ASSERT_TRUE(source);
        EXPECT_EQ(source->form, wide.form);
        EXPECT_EQ(source->text, QByteArray("p\n\xc3\xa9\n"));
        EXPECT_TRUE(isSourceTextOf(source->text, wide.bytes));
        EXPECT_FALSE(isSourceTextOf("p\n", wide.bytes));
#ifndef Q_OS_WIN
        // Line ends are written as the platform's.
        QByteArray expected = wide.bytes;
        const qsizetype unit =
            wide.form == SourceForm::Utf16LE || wide.form == SourceForm::Utf16BE ? 2 : 4;
        expected.remove(2 * unit, unit); // the carriage return, after the mark and "p"
        EXPECT_EQ(sourceBytesFromText(source->text, wide.form), expected);
#endif
    }
    // A lone surrogate cannot be read: the file is left as it is.
    EXPECT_FALSE(sourceTextFromBytes(QByteArray("\xff\xfep\0\x00\xd8", 6)));
}

TEST(Text, TextThatNeedsNoChangeIsTheFilesOwnBytes) {
    const QByteArray bytes = "print 1\nprint 2\n";
    EXPECT_EQ(sourceTextFromBytes(bytes)->text.constData(), bytes.constData());
}

// Whether a rewritten text is what the file holds already is found without
// making the file's text again; it must agree with making it.
TEST(Text, TellsATextFromItsBytesAsMakingItWould) {
    const char pieces[] = {'a', '\n', '\r', '\0', '\xef', '\xbb', '\xbf', '\xff', '\xfe'};
    quint32 seed = 2026;
    const auto next = [&seed](quint32 bound) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % bound;
    };
    for (int round = 0; round < 5000; ++round) {
        QByteArray bytes;
        for (quint32 n = next(9); n > 0; --n)
            bytes += pieces[next(sizeof pieces)];
        const std::optional<SourceText> source = sourceTextFromBytes(bytes);
        const QByteArray text = source ? source->text : QByteArray();
        ASSERT_EQ(isSourceTextOf(text, bytes), source.has_value()) << bytes.toHex().toStdString();
        if (source) {
            ASSERT_FALSE(isSourceTextOf(text + 'a', bytes));
            if (!text.isEmpty()) {
                ASSERT_FALSE(isSourceTextOf(text.left(text.size() - 1), bytes));
            }
        }
    }
}

TEST(Text, WritingUsesThePlatformLineEnd) {
#ifdef Q_OS_WIN
    EXPECT_EQ(sourceBytesFromText("a\nb\n"), QByteArray("a\r\nb\r\n"));
#else
    EXPECT_EQ(sourceBytesFromText("a\nb\n"), QByteArray("a\nb\n"));
#endif
}

TEST(Text, FileNamesAreTheFileSystemsBytes) {
    const QString name = QStringLiteral("/src/caf\u00e9/\u043a\u043e\u0434.bas");
    const QByteArray bytes = fileNameBytes(name);
#ifdef Q_OS_LINUX
    EXPECT_EQ(bytes, QByteArray("/src/caf\xc3\xa9/\xd0\xba\xd0\xbe\xd0\xb4.bas"));
#endif
    EXPECT_EQ(fileNameFromBytes(bytes), name);
}

// Files are read into a buffer of their size; files whose size says nothing
// (kernel files, devices) are still read to their end, and nothing is lost or
// left over at the size's edges.
TEST(SourceFile, FilesReadWholeWhateverTheirSizeSays) {
    QTemporaryDir folder;
    for (const qsizetype size :
         {qsizetype(0), qsizetype(1), qsizetype(16384), qsizetype(3000001)}) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = char(i * 7 % 251);
        const QString path = folder.filePath(QStringLiteral("f%1").arg(size));
        ASSERT_TRUE(writeFileBytes(path, bytes));
        const std::optional<QByteArray> read = readFileBytes(path);
        ASSERT_TRUE(read);
        EXPECT_EQ(*read, bytes) << size;
    }
#ifdef Q_OS_LINUX
    const std::optional<QByteArray> status = readFileBytes(QStringLiteral("/proc/self/status"));
    ASSERT_TRUE(status);
    EXPECT_TRUE(status->startsWith("Name:"));
    EXPECT_TRUE(status->endsWith('\n'));
#endif
    EXPECT_FALSE(readFileBytes(folder.filePath(QStringLiteral("missing"))));
}

} // namespace
