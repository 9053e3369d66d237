#pragma once

#include <QDir>
#include <QString>

// Runs in folder for the length of a scope, as the program runs in the
// directory it was started from.
struct CurrentDirectory {
    QString previous = QDir::currentPath();
    explicit CurrentDirectory(const QString& folder) { QDir::setCurrent(folder); }
    ~CurrentDirectory() { QDir::setCurrent(previous); }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;
};
