#pragma once

#include <QString>

// The real compiler lies beside this program as fbc2 (fbc2.exe on Windows).
//
// "Beside" means the directory of the program as it was invoked: the directory
// part of argument 0 when it has one; for a bare name, the directory where a
// search of PATH finds that name, as a shell would (links are not followed);
// failing that, the directory of the running executable.
QString compilerPathFor(const QString& invocationPath);

// The real compiler's own include folders, by their canonical paths, those
// that exist: include/freebasic beside the folder that holds it (an
// installation under a prefix) and inc within it when that holds fbgfx.bi (a
// self-contained one), looked for beside compilerPath as named and, when it
// is a link, beside the file it leads to.
QStringList compilerIncludeFolders(const QString& compilerPath);

// File name of the real compiler on this platform.
QString compilerFileName();
