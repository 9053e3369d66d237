#pragma once

#include "inheritance.h"
#include "typerecord.h"

#include <QList>

#include <array>

// What takes the place of a record's type block, in order, each followed by
// "\n": the finished block, the twin block, the twin's implementations and the
// inherited forwarders. The type comes before its twin, whose members may
// name it.
std::array<const MappedText*, 4> replacementParts(const TypeRecord& record);

// The file's lines with every type block (an opening line "type Name" or
// "type D extends P" through the first end line after it) replaced by its
// record's replacement text. Generated text is not examined again. A block
// without an end line is dropped with everything after it. A block is left as
// written when its type has no record, uses the compiler's own inheritance, or
// has neither a twin nor a parent.
// lines are the text's lines, as views over its bytes, taken so they are let
// go early; the result is made in the text's own room, its bytes and its
// origins on two threads at once when beside is set.
MappedText replaceTypeBlocks(MappedText text, LineIndex lines, const QList<TypeRecord>& records,
                             const Inheritance& inheritance, bool beside = false);

// Every line "type D extends P ..." becomes "type D", except where D uses the
// compiler's own inheritance.
void stripExtendsClauses(MappedText& text, const Inheritance& inheritance);
