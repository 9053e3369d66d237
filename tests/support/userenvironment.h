#pragma once

#include <QDir>
#include <QProcessEnvironment>
#include <QString>

// The environment of a run that is its own user: HOME and the XDG and temp
// locations point into home, so fbext's per-user directory (run lock,
// journals) is there and nothing of another run is seen.
inline QProcessEnvironment userEnvironment(const QString& home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QDir().mkpath(home + QStringLiteral("/tmp"));
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("USERPROFILE"), home);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home + QStringLiteral("/.local/state"));
    environment.insert(QStringLiteral("TMPDIR"), home + QStringLiteral("/tmp"));
    environment.insert(QStringLiteral("TMP"), home + QStringLiteral("/tmp"));
    environment.insert(QStringLiteral("TEMP"), home + QStringLiteral("/tmp"));
    return environment;
}

// Where fbext keeps its per-user files for that home.
inline QString userDataDir(const QString& home) {
#ifdef Q_OS_WIN
    return home + QStringLiteral("/AppData/Local/fbext");
#else
    return home + QStringLiteral("/.local/share/fbext");
#endif
}
