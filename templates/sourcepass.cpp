#include "sourcepass.h"

#include "beside.h"
#include "capture.h"
#include "characters.h"
#include "codelexer.h"
#include "instantiate.h"
#include "lines.h"
#include "placement.h"
#include "text.h"

#include <QDir>
#include <QFileInfo>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Whether line may name an included file: only one whose first character
// after blanks is "#", "'" or the "r" of "rem" can. Most lines are told by
// it without a call.
bool mayNameInclude(QByteArrayView line) {
    qsizetype first = 0;
    while (first < line.size() && isBlank(line[first]))
        ++first;
    return first < line.size() &&
           (line[first] == '#' || line[first] == '\'' || foldCase(line[first]) == 'r');
}

bool isSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}

// The compiler names an included file by its absolute path.
QString includedFileName(const QString& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

// A file being expanded: read, its includes found, waiting for them to be
// expanded before its own templates are captured.
struct OpenFile {
    QString path;
    QString compilerName; // what its lines' origins name
    QString key;
    QByteArray text;
    bool mayOpenComments = true; // "/'" stands in text
    Lines lines;                 // views over text
    QList<LineOrigin> origins;
    QStringList includes;    // the files its include lines name, in order
    QList<int> includeLines; // the line number of each (0: none, for -include)
    qsizetype nextInclude = 0;
    // The line numbers of the include lines that first include a file that
    // "#undef"s names, with those names: the uses below read them as the
    // file's own "#undef" lines.
    QHash<int, QSet<QByteArray>> undefinedAt;
    TemplateSet templates; // those of the files it includes, then its own
    HeaderFacts facts;     // its own (when it is included) and those of its includes
};

void addTemplates(TemplateSet& to, const TemplateSet& from) {
    to.templateCount += from.templateCount;
    for (auto it = from.templateTable.cbegin(); it != from.templateTable.cend(); ++it) {
        // Two headers declaring a template of one name in two namespaces (or
        // one outside any): the later says where the earlier stands, so that
        // its instances are refused rather than made from the wrong one.
        const auto known = to.templateTable.constFind(it.key());
        if (known != to.templateTable.cend() && known->headerOrigin != it->headerOrigin &&
            !equalsIgnoringCase(known->space, it->space) && it->earlierHeader.fileNumber == 0) {
            CapturedTemplate later = it.value();
            later.earlierHeader = known->headerOrigin;
            later.earlierSpace = known->space;
            to.templateTable.insert(it.key(), later);
            continue;
        }
        to.templateTable.insert(it.key(), it.value());
    }
}

// Reads a file and finds its includes. Every line carries its origin, the
// name the compiler knows the file by and its line number there, through
// capture into the instances, so the written text can be mapped back to the
// user's lines.
std::optional<OpenFile> openFile(const QString& path, const QString& compilerName,
                                 const QString& key, const SourceFiles& files,
                                 const TemplateRun& run) {
    std::optional<QByteArray> text = files.readText(path);
    if (!text)
        return std::nullopt;
    OpenFile file;
    file.path = path;
    file.compilerName = compilerName;
    file.key = key;
    file.text = std::move(*text);
    file.lines = splitLines(file.text);
    file.origins.reserve(file.lines.size());
    const LineOrigin firstLine(compilerName, 1);
    for (qsizetype i = 0; i < file.lines.size(); ++i)
        file.origins.append(firstLine.atLine(int(i + 1)));
    const QString directory = includeDirectory(path);
    // An include line commented out, or in an "#if 0" branch, is one the
    // compiler never follows: the file it names is not read either.
    file.mayOpenComments = containsCommentOpening(file.text);
    CommentTracker comments(file.mayOpenComments);
    const Lines& lines = file.lines;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView line = lines[i];
        if (comments.startsInComment(line) || !mayNameInclude(line))
            continue;
        const QString name =
            includedName(line, i + 1 < lines.size() ? lines[i + 1] : QByteArrayView());
        if (name.isEmpty())
            continue;
        const QString included = resolveInclude(name, directory, run.includeDirectories);
        if (!included.isEmpty() && !liesInFolders(included, run.compilerIncludeFolders)) {
            file.includes.append(included);
            file.includeLines.append(int(i + 1));
        }
    }
    return file;
}

// What an included file tells the class pass of the file that includes it:
// the enums it declares and the dialect it names, outside comments.
void noteHeaderFacts(OpenFile& file) {
    // Most files declare no enum: one look at the text settles them.
    if (containsIgnoringCase(file.text, "enum", 1))
        file.facts.enums = enumNamesOf(file.lines);
    // Most files undefine nothing: one look at the text settles them.
    if (indexOfIgnoringCase(file.text, "undef") >= 0) {
        CommentTracker comments(file.mayOpenComments);
        for (qsizetype i = 0; i < file.lines.size(); ++i) {
            const QByteArrayView line = file.lines[i];
            if (comments.startsInComment(line))
                continue;
            const QByteArrayView name = undefinedNameOf(
                line, i + 1 < file.lines.size() ? file.lines[i + 1] : QByteArrayView());
            if (!name.isEmpty())
                file.facts.undefined.insert(caseFolded(name));
        }
    }
    if (!mayNameDialect(file.text))
        return;
    CommentTracker comments(file.mayOpenComments);
    for (qsizetype i = 0; i < file.lines.size(); ++i) {
        const QByteArrayView line = file.lines[i];
        if (comments.startsInComment(line))
            continue;
        QByteArray named =
            dialectNamedOn(line, i + 1 < file.lines.size() ? file.lines[i + 1] : QByteArrayView());
        if (!named.isEmpty())
            file.facts.dialect = std::move(named);
    }
}

// A file whose templates are captured: what is left to do is to instantiate
// its uses. Faults met in it are noted in order, the capture's first.
struct CapturedFile {
    OpenFile file;
    qsizetype lineCount = 0; // before the capture took the templates out
    QList<TemplateError> errors;
    // Once instantiated: the rewritten text, and the first fault met, with
    // the origin of its line.
    MappedText text;
    std::optional<TemplateError> firstError;
    // An included file's bytes, once finished (nothing: it stays as it is).
    std::optional<QByteArray> finished;
};

// Captures the templates of a file whose includes are all expanded: its
// templates join those it has from its includes. Most files declare none,
// and are not read line by line for them.
CapturedFile captureFile(OpenFile file) {
    CapturedFile captured;
    captured.lineCount = file.lines.size();
    if (containsIgnoringCase(file.text, "template", 2))
        captureTemplates(file.lines, file.origins, file.templates, &captured.errors,
                         file.mayOpenComments);
    captured.file = std::move(file);
    return captured;
}

// Instantiates the uses of a captured file and makes its rewritten text.
void instantiateFile(CapturedFile& captured) {
    OpenFile& file = captured.file;
    QByteArrayList rewrittenLines;
    QList<Instance> instances;
    // The include lines that undefine names, by their places among the
    // lines the capture left.
    QHash<qsizetype, QSet<QByteArray>> undefinedAt;
    if (!file.undefinedAt.isEmpty()) {
        for (qsizetype i = 0; i < file.origins.size(); ++i) {
            const auto found = file.undefinedAt.constFind(file.origins[i].line);
            if (found != file.undefinedAt.cend())
                undefinedAt.insert(i, *found);
        }
    }
    instantiateTemplates(file.lines, rewrittenLines, file.templates, instances, &captured.errors,
                         &undefinedAt);
    if (!captured.errors.isEmpty()) {
        TemplateError error = captured.errors.first();
        if (error.line >= 0)
            error.origin = file.origins.value(error.line);
        captured.firstError = error;
    }
    if (file.lines.size() == captured.lineCount && rewrittenLines.isEmpty() &&
        instances.isEmpty()) {
        // Nothing captured, rewritten or added: the file's text as it was
        // read, not a copy made line by line.
        captured.text.text = std::move(file.text);
        captured.text.origins = std::move(file.origins);
    } else {
        captured.text = withInstances(file.lines, file.origins, instances);
    }
    file.lines = Lines();
    file.origins = QList<LineOrigin>();
    file.text = QByteArray();
}

// Instantiates an included file and makes the bytes it is to hold.
void finishIncludedFile(CapturedFile& captured, const SourceFiles& files) {
    instantiateFile(captured);
    captured.finished = files.finishIncluded(captured.file.path, captured.file.compilerName,
                                             std::move(captured.text));
    captured.text = MappedText();
}

// The first fault met, in the order the files finished and within a file
// in the order met, is the run's.
void noteFirstError(const CapturedFile& captured, TemplateRun& run) {
    if (captured.firstError && !run.error)
        run.error = captured.firstError;
}

// Instantiates included files on a thread of its own, in the order they are
// handed over, while the pass reads and captures the next files and the
// source file itself: an include's instances are needed by no other file,
// only its templates, which are captured before it is handed over. Each is
// finished there too, its bytes made. Files below besideFromBytes are done at
// once, where a thread would cost more than it saves. The files are taken
// back in the order they were handed over.
class IncludedFiles {
public:
    IncludedFiles(const SourceFiles& sourceFiles, qsizetype besideFromBytes)
        : sourceFiles(sourceFiles), besideFromBytes(besideFromBytes) {}
    ~IncludedFiles() {
        {
            const std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        changed.notify_all();
        if (worker.joinable())
            worker.join();
    }

    void add(CapturedFile captured) {
        auto owned = std::make_unique<Entry>();
        Entry* file = owned.get();
        file->captured = std::move(captured);
        const bool beside = file->captured.file.text.size() >= besideFromBytes && startWorker();
        if (!beside) {
            finishIncludedFile(file->captured, sourceFiles);
            file->instantiated = true;
        }
        const std::lock_guard<std::mutex> lock(mutex);
        files.push_back(std::move(owned));
        if (!beside)
            return;
        waiting.push_back(file);
        changed.notify_all();
    }

    // The files at the front that are instantiated (with all, every file,
    // waiting for them), taken in the order they were handed over.
    std::vector<CapturedFile> take(bool all) {
        std::unique_lock<std::mutex> lock(mutex);
        if (all)
            changed.wait(lock, [this] { return waiting.empty() && !busy; });
        std::vector<CapturedFile> taken;
        while (!files.empty() && files.front()->instantiated) {
            taken.push_back(std::move(files.front()->captured));
            files.pop_front();
        }
        return taken;
    }

private:
    struct Entry {
        CapturedFile captured;
        bool instantiated = false;
    };

    // Whether the thread runs, started now if need be. With no thread to be
    // had (a limit on the user's processes) files are instantiated where
    // they are handed over.
    bool startWorker() {
        if (worker.joinable())
            return true;
        try {
            worker = std::thread([this] { work(); });
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }

    void work() {
        blockInterruptsOnThisThread();
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return stopping || !waiting.empty(); });
            if (waiting.empty())
                return;
            Entry* const file = waiting.front(); // files keeps it until it is instantiated
            waiting.pop_front();
            busy = true;
            lock.unlock();
            finishIncludedFile(file->captured, sourceFiles);
            lock.lock();
            file->instantiated = true;
            busy = false;
            changed.notify_all();
        }
    }

    const SourceFiles& sourceFiles;
    const qsizetype besideFromBytes;
    std::mutex mutex;                         // guards what follows
    std::deque<std::unique_ptr<Entry>> files; // handed over, not yet taken back
    std::deque<Entry*> waiting;               // of files, to be instantiated beside
    bool busy = false;
    bool stopping = false;
    std::condition_variable changed;
    std::thread worker;
};

} // namespace

QString includeDirectory(const QString& sourcePath) {
    for (qsizetype i = sourcePath.size() - 1; i >= 0; --i) {
        if (isSeparator(sourcePath[i]))
            return sourcePath.left(i + 1);
    }
    return QDir::currentPath();
}

QString includedName(QByteArrayView line, QByteArrayView next) {
    // The compiler reads "#", "include", an optional "once" and a quoted name,
    // with blanks between them, also after the "#", or none before the quote:
    // "#include once "list.bi"", "#include"list.bi"", "# include
    // once"list.bi"". And the QuickBASIC metacommand in a comment, which it
    // follows in its qb and fblite dialects: "'$include: 'list.bi'", "REM
    // $INCLUDE: "list.bi"", "' $include once:'list.bi'".
    if (!mayNameInclude(line))
        return {};
    bool metacommand = false;
    const qsizetype at = directiveArgumentAt(line, "include", true, &metacommand);
    if (at < 0)
        return {};
    // "#include _": the compiler reads the rest of the directive from the
    // next line (what follows the "_" is a comment).
    if (!metacommand && at < line.size() && line[at] == '_' &&
        (at + 1 == line.size() || isBlank(line[at + 1]) || line[at + 1] == '\'')) {
        qsizetype from = 0;
        while (from < next.size() && isBlank(next[from]))
            ++from;
        if (from == next.size())
            return {};
        return includedName(line.first(at).toByteArray() + next.sliced(from).toByteArray());
    }
    // After the metacommand the name may be quoted with "'" too.
    const char quote = metacommand && at < line.size() && line[at] == '\'' ? '\'' : '"';
    if (at == line.size() || line[at] != quote)
        return {};
    const qsizetype start = at + 1;
    qsizetype end = line.indexOf(quote, start);
    if (end < 0 && quote == '\'')
        return {}; // the compiler refuses the metacommand without its closing quote
    if (end < 0)
        end = line.size();
    if (end == start)
        return {};
    QString path = fileNameFromBytes(line.sliced(start, end - start));
    if (QDir::separator() == u'/')
        path.replace(u'\\', u'/'); // the compiler reads "lib\list.bi" as lib/list.bi here
    return path;
}

QString resolveInclude(const QString& name, const QString& directory,
                       const QStringList& includeDirectories) {
    if (QDir::isAbsolutePath(name))
        return QDir::cleanPath(name);
    // Where the compiler looks, in its order: the including file's folder,
    // the current folder, then each -i folder.
    const auto found = [&name](const QString& folder) {
        const QFileInfo file(QDir(folder), name);
        return file.isFile() ? QDir::cleanPath(file.absoluteFilePath()) : QString();
    };
    for (const QString& folder : {directory, QDir::currentPath()}) {
        if (QString path = found(folder); !path.isEmpty())
            return path;
    }
    for (const QString& folder : includeDirectories) {
        if (QString path = found(folder); !path.isEmpty())
            return path;
    }
    return {};
}

bool liesInFolders(const QString& path, const QStringList& folders) {
    if (folders.isEmpty())
        return false;
    const QString real = QFileInfo(path).canonicalFilePath();
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity caseSensitivity = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity caseSensitivity = Qt::CaseSensitive;
#endif
    for (const QString& folder : folders) {
        if (real.size() > folder.size() && real.startsWith(folder, caseSensitivity) &&
            real[folder.size()] == u'/')
            return true;
    }
    return false;
}

// Included files are expanded before the file that includes them, so their
// templates are known before its own are captured; include lines stay in the
// text. The files being expanded wait on a stack of their own rather than on
// the program's, so a chain of includes can be as deep as files allow.
std::optional<MappedText> expandTemplates(const QString& sourcePath, const SourceFiles& files,
                                          TemplateRun& run) {
    const QString rootKey = files.fileKey(sourcePath);
    if (run.expanded.contains(rootKey))
        return std::nullopt;
    std::optional<OpenFile> root = openFile(sourcePath, sourcePath, rootKey, files, run);
    if (!root)
        return std::nullopt;
    QStringList preIncluded;
    for (const QString& name : std::as_const(run.preIncludes)) {
        const QString path =
            resolveInclude(name, includeDirectory(sourcePath), run.includeDirectories);
        if (path.isEmpty() || liesInFolders(path, run.compilerIncludeFolders))
            continue;
        if (files.fileKey(path) == rootKey) {
            preIncluded.clear();
            break;
        }
        preIncluded.append(path);
    }
    root->includes = preIncluded + root->includes;
    root->includeLines = QList<int>(preIncluded.size(), 0) + root->includeLines;
    // A file is remembered from the moment it is read, so that an include
    // that leads back to it is not followed again.
    run.expanded.insert(rootKey, TemplateSet());
    // The files this source file includes so far: one expanded for an
    // earlier source file of the run is included here for the first time all
    // the same, and its "#undef" lines run here.
    QSet<QString> includedHere{rootKey};
    std::vector<OpenFile> open;
    open.push_back(std::move(*root));
    IncludedFiles included(files, run.besideFromBytes);
    // The included files are handed over in the order they finished, each as
    // soon as it and those before it are instantiated; the file that
    // includes them last.
    const auto handOver = [&](bool all) {
        for (CapturedFile& done : included.take(all)) {
            noteFirstError(done, run);
            files.takeIncluded(done.file.path, std::move(done.finished));
        }
    };
    for (;;) {
        handOver(false);
        OpenFile& file = open.back();
        if (file.nextInclude < file.includes.size()) {
            const QString included = file.includes[file.nextInclude++];
            const QString key = files.fileKey(included);
            if (const auto known = run.expanded.constFind(key); known != run.expanded.cend()) {
                addTemplates(file.templates, known.value());
                // Its "#undef" lines ran where this source file first
                // included it (and an "#include once" does not run them
                // again).
                HeaderFacts facts = run.headerFacts.value(key);
                const int includeLine = file.includeLines.value(file.nextInclude - 1);
                if (!includedHere.contains(key) && includeLine > 0 && !facts.undefined.isEmpty())
                    file.undefinedAt[includeLine] += facts.undefined;
                else
                    facts.undefined.clear();
                includedHere.insert(key);
                file.facts.add(facts);
                continue;
            }
            includedHere.insert(key);
            std::optional<OpenFile> next =
                openFile(included, includedFileName(included), key, files, run);
            if (!next)
                continue;
            noteHeaderFacts(*next);
            run.expanded.insert(key, TemplateSet());
            open.push_back(std::move(*next)); // file is no longer valid
            continue;
        }
        CapturedFile captured = captureFile(std::move(file));
        run.expanded.insert(captured.file.key, captured.file.templates);
        run.headerFacts.insert(captured.file.key, captured.file.facts);
        open.pop_back();
        if (!open.empty()) {
            OpenFile& includer = open.back();
            addTemplates(includer.templates, captured.file.templates);
            includer.facts.add(captured.file.facts);
            const int includeLine = includer.includeLines.value(includer.nextInclude - 1);
            if (!captured.file.facts.undefined.isEmpty() && includeLine > 0)
                includer.undefinedAt[includeLine] += captured.file.facts.undefined;
            included.add(std::move(captured));
            continue;
        }
        run.headerEnums = captured.file.facts.enums;
        run.headerDialect = captured.file.facts.dialect;
        instantiateFile(captured);
        handOver(true);
        noteFirstError(captured, run);
        return std::move(captured.text);
    }
}
