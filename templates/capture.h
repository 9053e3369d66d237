#pragma once

#include "lines.h"
#include "mappedtext.h"
#include "templatetable.h"

#include <QList>

// Finds every template declaration in lines ("template Name" ... "end template")
// together with the member procedures written for it below the declaration
// (sub, function, constructor, destructor, operator and property, each through
// its own end line), takes those lines out of lines (and their entries out of
// origins, which runs parallel to lines), and records the template in
// templates: it counts one more declaration, and its captured lines are
// stored in the table under its key (templateKey). A declaration or member
// whose end line is missing takes the rest of the file and, when errors is
// given, is reported there at its first line. mayOpenComments false says
// that no line has "/'" in it.
void captureTemplates(Lines& lines, QList<LineOrigin>& origins, TemplateSet& templates,
                      QList<TemplateError>* errors = nullptr, bool mayOpenComments = true);
