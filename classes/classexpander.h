#pragma once

#include "mappedtext.h"

#include <QByteArray>

// The class-extension pass over the text of a source file named on the command
// line (as the template pass left it): every "type D extends P" turned into
// plain FreeBASIC, each line of the result with its origin.
// Takes the source by value: the pass's lines refer to its text's bytes,
// so a caller that hands the text over saves a copy of it.
MappedText expandClassText(MappedText source);
