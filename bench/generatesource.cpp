#include "generatesource.h"

#include <QStringList>

#include <algorithm>

namespace {

const char* const typeArguments[] = {"integer", "double", "String", "byte", "unsigned long"};

QString templateName(int n) {
    return QStringLiteral("Box%1").arg(n);
}

void declare(QStringList& lines, int n) {
    const QString name = templateName(n);
    lines << QStringLiteral("template ") + name << QStringLiteral("  value as t1")
          << QStringLiteral("  count as integer")
          << QStringLiteral("  declare sub put(byval v as t1)")
          << QStringLiteral("  declare function get() as t1")
          << QStringLiteral("  declare constructor()")
          << QStringLiteral("  declare property size() as integer")
          << QStringLiteral("end template") << QString()
          << QStringLiteral("sub ") + name + QStringLiteral(".put(byval v as t1)")
          << QStringLiteral("  value = v") << QStringLiteral("  count += 1")
          << QStringLiteral("end sub") << QString()
          << QStringLiteral("function ") + name + QStringLiteral(".get() as t1")
          << QStringLiteral("  return value") << QStringLiteral("end function") << QString();
}

// Members written far below their declaration, so capture must reach them.
void declareLateMembers(QStringList& lines, int n) {
    const QString name = templateName(n);
    lines << QStringLiteral("constructor ") + name + QStringLiteral("()")
          << QStringLiteral("  count = 0") << QStringLiteral("end constructor")
          << QStringLiteral("property ") + name + QStringLiteral(".size() as integer")
          << QStringLiteral("  return count") << QStringLiteral("end property");
}

} // namespace

QByteArray generateTemplateSource(int lineCount, int templateCount, int useCount) {
    QStringList lines;
    lines.reserve(lineCount + 64);
    const int lateLines = templateCount * 6;
    const int declarationLines = templateCount * 18;
    const int bodyLines = std::max(lineCount - lateLines - declarationLines, useCount);
    // Spread declarations and uses evenly over the body.
    int declared = 0;
    int used = 0;
    for (int i = 0; i < bodyLines; ++i) {
        while (declared < templateCount &&
               qint64(declared) * bodyLines <= qint64(i) * templateCount) {
            declare(lines, declared);
            ++declared;
        }
        if (qint64(used) * bodyLines <= qint64(i) * useCount && used < useCount && declared > 0) {
            const int n = (used * 7919) % declared;
            const char* type = typeArguments[(used / 3) % 5];
            lines << QStringLiteral("dim v%1 as %2<<<%3>>>")
                         .arg(used)
                         .arg(templateName(n), QLatin1StringView(type));
            ++used;
            continue;
        }
        switch (i % 8) {
        case 0:
            lines << QStringLiteral("sub helper%1()").arg(i);
            break;
        case 3:
            lines << QStringLiteral("end sub");
            break;
        case 5:
            lines << QStringLiteral("  print \"a <<<string>>> in quotes\"; x%1").arg(i);
            break;
        default:
            lines << QStringLiteral("  x = x + %1").arg(i);
        }
    }
    for (int n = 0; n < templateCount; ++n)
        declareLateMembers(lines, n);
    return (lines.join(u'\n') + u'\n').toLatin1();
}
