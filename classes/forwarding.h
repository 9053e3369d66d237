#pragma once

#include "lines.h"

#include <QByteArray>

// The two texts generated for each field or member of a type: the forwarder,
// which implements the member on an extending type by passing it on to
// "parent.", and the declaration that goes into the extending type's block.
// The extending type is not known yet, so forwarders name it through the
// placeholder "class_for_interface##.", always right after a space.
struct ForwardEntry {
    QByteArray forwarder;   // one or more lines, ending in "\n"
    QByteArray declaration; // one or two lines, no final "\n"
};

inline QByteArrayView forwardPlaceholder() {
    return "class_for_interface##.";
}

// A field written "name as Type".
ForwardEntry forwardField(QByteArrayView name, QByteArrayView type);

// A member implementation of kind "sub", "function" or "property" whose header
// line has headerTokens; its second token starts with memberPrefix (ignoring case).
ForwardEntry forwardMember(QByteArrayView kind, const Tokens& headerTokens,
                           const QByteArray& memberName, const QByteArray& argumentList,
                           const QByteArray& memberPrefix);

// The member's name: the text between the header's first "." and its first "(",
// spaces removed (to the end of the line when there is no "(").
QByteArray memberNameOf(QByteArrayView header);

// The names to pass on in a forwarded call, joined with ",": for each
// parameter, the token after an optional "byval" or "byref".
QByteArray argumentListOf(QByteArrayView header);
