#pragma once

#include <QString>

// The program prints nothing of its own except these one-line reports on
// standard error, each starting with "fbext: " so they are not mistaken for the
// compiler's messages.
void reportError(const QString& message);

// A fault in a source file, in the compiler's own form "file(line) error N:
// text", printed as it is (no prefix), where the compiler's messages go.
void reportSourceError(const QString& line);
