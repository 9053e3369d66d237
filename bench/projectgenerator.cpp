#include "projectgenerator.h"

#include <QDir>
#include <QFile>

namespace {

constexpr int headerCount = 12;
const char* const elementTypes[] = {"integer", "double", "string", "single", "long"};

// Appends lines to a file while counting them.
struct Writer {
    QByteArray bytes;
    qint64 lines = 0;
    void line(const QByteArray& text) {
        bytes += text;
        bytes += '\n';
        ++lines;
    }
};

void writeTemplate(Writer& out, const QByteArray& name) {
    out.line("template " + name);
    out.line("  items(0 to 15) as t1");
    out.line("  count as integer");
    out.line("  declare sub push(byval v as t1)");
    out.line("  declare function pop() as t1");
    out.line("  declare constructor()");
    out.line("  declare destructor()");
    out.line("  declare operator cast() as string");
    out.line("  declare property size() as integer");
    out.line("end template");
    out.line("");
    out.line("sub " + name + ".push(byval v as t1)");
    out.line("  items(count) = v");
    out.line("  count += 1");
    out.line("end sub");
    out.line("");
    out.line("function " + name + ".pop() as t1");
    out.line("  count -= 1");
    out.line("  return items(count)");
    out.line("end function");
    out.line("");
    out.line("constructor " + name + "()");
    out.line("  count = 0");
    out.line("end constructor");
    out.line("");
    out.line("destructor " + name + "()");
    out.line("end destructor");
    out.line("");
    out.line("operator " + name + ".cast() as string");
    out.line("  return str(count)");
    out.line("end operator");
    out.line("");
    out.line("property " + name + ".size() as integer");
    out.line("  return count");
    out.line("end property");
    out.line("");
}

void writeUses(Writer& out, qint64 serial, const QList<QByteArray>& templates) {
    const QByteArray n = QByteArray::number(serial);
    const QByteArray& name = templates[serial % templates.size()];
    const char* element = elementTypes[serial % 5];
    out.line("dim shared box" + n + " as " + name + "<<<" + element + ">>>");
    out.line("box" + n + ".push(" + (serial % 5 == 2 ? QByteArray("\"x\"") : n) + ")");
    out.line("print \"" + name + "<<<" + element + ">>> holds \"; box" + n + ".size");
}

void writeType(Writer& out, qint64 k) {
    const QByteArray n = QByteArray::number(k);
    QByteArray line = "type Shape" + n;
    if (k > 0 && k % 3 == 0) // a third extend another; every second of those a chain
        line += " extends Shape" + QByteArray::number(k % 6 == 0 ? k - 3 : k - 1);
    out.line(line);
    if (k % 4 == 1)
        out.line("private:");
    out.line("  x" + n + " as integer");
    out.line("  name" + n + " as string");
    out.line("  declare sub move" + n + "(byval dx as integer, byval dy as integer)");
    out.line("  declare function area" + n + "(scale as integer) as integer");
    out.line("  declare property size" + n + "() as integer");
    out.line("end type");
    out.line("");
    out.line("sub Shape" + n + ".move" + n + "(byval dx as integer, byval dy as integer)");
    out.line("  x" + n + " += dx + dy");
    out.line("end sub");
    out.line("");
    out.line("function Shape" + n + ".area" + n + "(scale as integer) as integer");
    out.line("  return x" + n + " * scale");
    out.line("end function");
    out.line("");
    out.line("property Shape" + n + ".size" + n + "() as integer");
    out.line("  return len(name" + n + ")");
    out.line("end property");
    out.line("");
}

void writeOrdinary(Writer& out, qint64 serial) {
    const QByteArray n = QByteArray::number(serial);
    out.line("' ordinary code " + n);
    out.line("sub work" + n + "(byval limit as integer)");
    out.line("  dim as integer total = 0");
    out.line("  for i as integer = 1 to limit");
    out.line("    if i mod 3 = 0 then total += i else total -= 1");
    out.line("  next");
    out.line("  print \"work " + n + ": \"; total; \" (a < b >> c)\"");
    out.line("end sub");
    out.line("");
}

// A use on a line of its own and a statement that calls through it.
void writeShortUse(Writer& out, qint64 serial, const QList<QByteArray>& templates) {
    const QByteArray n = QByteArray::number(serial);
    out.line("dim shared u" + n + " as " + templates[serial % templates.size()] + "<<<" +
             elementTypes[serial % 5] + ">>>");
    out.line("u" + n + ".push(" + (serial % 5 == 2 ? QByteArray("\"x\"") : n) + ")");
}

GeneratedProject collect(const Writer& main, const QList<Writer>& headers) {
    GeneratedProject project;
    project.files.append({QStringLiteral("main.bas"), main.bytes});
    project.lineCount = main.lines;
    for (int h = 0; h < headerCount; ++h) {
        project.files.append({QStringLiteral("lib/h%1.bi").arg(h), headers[h].bytes});
        project.lineCount += headers[h].lines;
    }
    for (const GeneratedFile& file : project.files)
        project.byteCount += file.bytes.size();
    return project;
}

Writer includesOfAllHeaders() {
    Writer main;
    for (int h = 0; h < headerCount; ++h)
        main.line("#include once \"lib/h" + QByteArray::number(h) + ".bi\"");
    main.line("");
    return main;
}

GeneratedProject generateOneLargeFile(qint64 totalLines) {
    QList<Writer> headers(headerCount);
    QList<QByteArray> templates;
    for (int t = 0; t < 2 * headerCount; ++t) {
        const QByteArray name = "Box" + QByteArray::number(t);
        writeTemplate(headers[t % headerCount], name);
        templates.append(name);
    }
    qint64 headerLines = 0;
    for (const Writer& header : headers)
        headerLines += header.lines;

    // Blocks of about 200 lines: three types of about 21 lines, 40 uses of
    // two lines each, and six pieces of ordinary code of nine lines.
    Writer main = includesOfAllHeaders();
    const qint64 blocks = qMax<qint64>(1, (totalLines - headerLines) / 200);
    qint64 serial = 0;
    for (qint64 b = 0; b < blocks; ++b) {
        for (int k = 0; k < 3; ++k)
            writeType(main, 3 * b + k);
        for (int u = 0; u < 40; ++u)
            writeShortUse(main, serial++, templates);
        for (int o = 0; o < 6; ++o)
            writeOrdinary(main, serial++);
    }
    return collect(main, headers);
}

} // namespace

QByteArray templateHeader(const QList<QByteArray>& names) {
    Writer header;
    for (const QByteArray& name : names)
        writeTemplate(header, name);
    return header.bytes;
}

GeneratedProject generateProject(qint64 totalLines, ProjectShape shape) {
    if (shape == ProjectShape::OneLargeFile)
        return generateOneLargeFile(totalLines);
    // Templates and most of their uses live in the headers; the types (the
    // class extension runs on the files named on the command line) in the main
    // file, which holds about half of the lines.
    const qint64 templateCount = qMax<qint64>(headerCount, totalLines / 500);
    const qint64 typeCount = qMax<qint64>(3, totalLines / 64);

    QList<Writer> headers(headerCount);
    QList<QList<QByteArray>> headerTemplates(headerCount);
    QList<QByteArray> allTemplates;
    for (qint64 t = 0; t < templateCount; ++t) {
        const QByteArray name = "Box" + QByteArray::number(t);
        writeTemplate(headers[t % headerCount], name);
        headerTemplates[t % headerCount].append(name);
        allTemplates.append(name);
    }
    Writer main = includesOfAllHeaders();
    qint64 serial = 0;
    for (qint64 k = 0; k < typeCount; ++k) {
        writeType(main, k);
        writeUses(main, serial++, allTemplates);
        writeOrdinary(main, serial++);
    }
    qint64 lines = main.lines;
    for (const Writer& header : headers)
        lines += header.lines;
    for (qint64 u = 0; lines < totalLines; ++u) {
        Writer& header = headers[u % headerCount];
        const qint64 before = header.lines;
        writeUses(header, serial++, headerTemplates[u % headerCount]);
        writeOrdinary(header, serial++);
        lines += header.lines - before;
    }
    return collect(main, headers);
}

bool writeProject(const GeneratedProject& project, const QString& folder) {
    for (const GeneratedFile& file : project.files) {
        const QString path = QDir(folder).filePath(file.name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file.bytes) != file.bytes.size())
            return false;
    }
    return true;
}
