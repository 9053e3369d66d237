#pragma once

#include <QString>

// The program prints nothing of its own except these one-line reports on
// standard error, each starting with "fbext: " so they are not mistaken for the
// compiler's messages.
void reportError(const QString& message);
