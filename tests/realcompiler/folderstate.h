#pragma once

#include "filetime.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// Every file below a folder, with its bytes and modification time, so that a
// run can be checked to have left each one exactly as it was.
struct FileState {
    QByteArray bytes;
    FileTime time;
};

using FolderState = QMap<QString, FileState>; // path relative to the folder -> state

FolderState recordFolder(const QString& dir);

// One line for each recorded file that is gone or whose bytes or modification
// time differ now; files added since are not looked at.
QStringList folderChanges(const FolderState& before, const QString& dir);

// Writes each file (relative path -> bytes) below dir.
bool writeFiles(const QString& dir, const QMap<QString, QByteArray>& files);
