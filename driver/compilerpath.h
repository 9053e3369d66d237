#pragma once

#include <QString>

// The real compiler lies beside this program as fbc2 (fbc2.exe on Windows).
//
// "Beside" means the directory of the program as it was invoked: the directory
// part of argument 0 when it has one; for a bare name, the directory where a
// search of PATH finds that name, as a shell would (links are not followed);
// failing that, the directory of the running executable.
QString compilerPathFor(const QString& invocationPath);

// File name of the real compiler on this platform.
QString compilerFileName();
