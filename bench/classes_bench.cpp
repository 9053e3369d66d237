// Times the class-extension pass on a generated class-heavy file.
//
//   classes_bench [lines] [types]     (default 100000 lines, 2000 types)
//
// A third of the types extend the type before them: in every six, the second
// extends the first and the third extends the second, so chains of three
// occur throughout. Each type
// has fields, a sub, a function and a property implemented after its block;
// filler statements bring the file to the requested number of lines.

#include "classexpander.h"

#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

QString generate(int lineCount, int typeCount) {
    QStringList lines;
    lines.reserve(lineCount + 64);
    const int perType = lineCount / qMax(1, typeCount);
    for (int i = 0; i < typeCount; ++i) {
        const QString name = QStringLiteral("Shape%1").arg(i);
        const int start = int(lines.size());
        if (i % 6 != 1 && i % 6 != 2)
            lines.append(QStringLiteral("type ") + name);
        else
            lines.append(QStringLiteral("type %1 extends Shape%2").arg(name).arg(i - 1));
        lines.append(QStringLiteral("private:"));
        lines.append(QStringLiteral("  x%1 as integer").arg(i));
        lines.append(QStringLiteral("  label%1 as string").arg(i));
        lines.append(QStringLiteral("  declare sub move(byval dx as integer)"));
        lines.append(QStringLiteral("end type"));
        lines.append(QString());
        lines.append(QStringLiteral("sub %1.move(byval dx as integer)").arg(name));
        lines.append(QStringLiteral("  x%1 += dx").arg(i));
        lines.append(QStringLiteral("end sub"));
        lines.append(QStringLiteral("function %1.area(scale as integer) as integer").arg(name));
        lines.append(QStringLiteral("  return x%1 * scale").arg(i));
        lines.append(QStringLiteral("end function"));
        lines.append(QStringLiteral("property %1.size() as integer").arg(name));
        lines.append(QStringLiteral("  return x%1").arg(i));
        lines.append(QStringLiteral("end property"));
        while (lines.size() - start < perType)
            lines.append(QStringLiteral("print \"filler\" ' %1").arg(lines.size()));
    }
    while (lines.size() < lineCount)
        lines.append(QStringLiteral("print %1").arg(lines.size()));
    return lines.join(u'\n');
}

} // namespace

int main(int argc, char* argv[]) {
    const int lineCount = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int typeCount = argc > 2 ? std::atoi(argv[2]) : 2000;
    const QString text = generate(lineCount, typeCount);

    QList<LineOrigin> origins;
    const qsizetype count = text.count(u'\n') + 1;
    origins.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        origins.append(LineOrigin{QStringLiteral("bench.bas"), int(i + 1)});
    MappedText source;
    source.text = text.toLatin1();
    source.origins = origins;

    QElapsedTimer timer;
    timer.start();
    const MappedText result = expandClassText(source);
    const qint64 elapsed = timer.elapsed();
    std::printf("%lld lines, %d types: %lld ms (output %lld lines)\n",
                static_cast<long long>(count), typeCount, static_cast<long long>(elapsed),
                static_cast<long long>(result.lineCount()));
    return 0;
}
