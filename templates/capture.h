#pragma once

#include "mappedtext.h"
#include "templatetable.h"

#include <QList>
#include <QStringList>

// Finds every template declaration in lines ("template Name" ... "end template")
// together with the member procedures written for it below the declaration
// (sub, function, constructor, destructor, operator and property, each through
// its own end line), takes those lines out of lines (and their entries out of
// origins, which runs parallel to lines), and records the template: its
// lower-cased name is appended to templateNames, its captured lines are stored
// in templateTable under the name as written.
void captureTemplates(QStringList& lines, QList<LineOrigin>& origins, QStringList& templateNames,
                      TemplateTable& templateTable);
