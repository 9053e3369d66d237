#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// The data fields a line of a type block declares, in every form FreeBASIC
// allows there: "name as Type", with an initializer ("= 5"), a trailing
// comment or a leading "dim"; "as Type a, b"; fixed-length strings
// ("as string * 20"); array fields ("scores(any) as integer",
// "as integer grid(3, 3)") and bit fields ("flags : 4 as integer").
struct FieldForm {
    enum class Shape : qint8 {
        scalar,     // forwarded as a property
        indexed,    // a one-dimensional array: forwarded as a property with an index
        unforwarded // an array of more dimensions, a wide fixed-length string, a
                    // field named by a keyword no property may have ("next")
    };
    QByteArray name;
    QByteArray type; // as the property gives it: "string" for a fixed-length string
    Shape shape = Shape::scalar;
};

// The fields of one line of a type block; none for a line that declares no
// field (a declaration, an access section, "static" data, a nested block).
QList<FieldForm> fieldsOfLine(QByteArrayView line);
