#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// Template name as written in its header -> the lines captured for it.
using TemplateTable = QMap<QString, QStringList>;

// The templates one pass knows: its own and those handed back by the files it includes.
struct TemplateSet {
    QStringList templateNames; // lower-cased names, one per captured declaration
    TemplateTable templateTable;
};
