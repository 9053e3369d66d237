// Stands in for the real compiler in the parallel-build benchmark: each
// compile takes a fixed time (FBEXT_BENCH_COMPILE_MS milliseconds, default
// 500), as the real compiler's own work would, and leaves the object file
// make expects ("-c x.bas" gives x.o). With FBEXT_BENCH_KEEP_TEXT=DIR it
// first copies the text it is given, and every file that text includes, into
// DIR: the already-expanded program that the plain build compiles.

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>

namespace {

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Copies the file (named relative to the working folder, as the project's
// flat folder names them) and what it includes through "#include once" lines.
void keep(const std::string& name, const std::string& folder, std::set<std::string>& kept) {
    if (!kept.insert(name).second)
        return;
    std::ifstream in(name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::ofstream(folder + "/" + name, std::ios::binary) << text.str();
    std::string line;
    while (std::getline(text, line)) {
        std::string lower = line;
        for (char& c : lower)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        const std::size_t quote = line.find('"');
        if (lower.rfind("#include once", 0) == 0 && quote != std::string::npos) {
            const std::size_t end = line.find('"', quote + 1);
            if (end != std::string::npos)
                keep(line.substr(quote + 1, end - quote - 1), folder, kept);
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    const char* keepIn = std::getenv("FBEXT_BENCH_KEEP_TEXT");
    std::set<std::string> kept;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (endsWith(argument, ".bas") && keepIn)
            keep(argument, keepIn, kept);
    }
    const char* milliseconds = std::getenv("FBEXT_BENCH_COMPILE_MS");
    std::this_thread::sleep_for(
        std::chrono::milliseconds(milliseconds ? std::atoi(milliseconds) : 500));
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (endsWith(argument, ".bas"))
            std::ofstream(argument.substr(0, argument.size() - 4) + ".o") << "object\n";
    }
    return 0;
}
