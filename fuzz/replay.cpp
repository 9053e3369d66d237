// Runs a fuzz target's checks over every file in the folders (or files) named
// on the command line, as libFuzzer runs them over a corpus, but without
// libFuzzer: the committed seeds and past findings become a regression test
// that any compiler builds. A failed check aborts, so the test fails.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char* argv[]) {
    QStringList inputs;
    for (int i = 1; i < argc; ++i) {
        const QString path = QFile::decodeName(argv[i]);
        if (!QFileInfo(path).isDir()) {
            inputs.append(path);
            continue;
        }
        QDirIterator files(path, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext())
            inputs.append(files.next());
    }
    // The same order every time, so a failure is reproduced as it was met.
    std::sort(inputs.begin(), inputs.end());
    for (const QString& input : std::as_const(inputs)) {
        QFile file(input);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(input));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                               size_t(bytes.size()));
    }
    std::printf("%lld inputs replayed\n", static_cast<long long>(inputs.size()));
    // No input at all means the corpus went missing: that checks nothing.
    return inputs.isEmpty() ? 1 : 0;
}
