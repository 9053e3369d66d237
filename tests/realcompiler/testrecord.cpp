#include "testrecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString realCompilerFromEnvironment(QString* skipMessage) {
    const QString compiler = qEnvironmentVariable("FBEXT_TEST_FBC");
    if (compiler.isEmpty())
        *skipMessage = QStringLiteral(
            "SKIPPED: no real FreeBASIC compiler; set FBEXT_TEST_FBC to the path of one "
            "(scripts/test uses ../shared/freebasic/bin/fbc when it exists)");
    return compiler;
}

void recordResult(const QString& file, const QString& status, const QString& detail) {
    if (file.isEmpty())
        return;
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write((status + QLatin1Char('\t') + detail + QLatin1Char('\n')).toUtf8());
}
