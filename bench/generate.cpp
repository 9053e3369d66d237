// Writes a large generated FreeBASIC source that uses templates:
//   fbext_generate_source <file> [lines] [templates] [uses]

#include "generatesource.h"
#include "sourcefile.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <file> [lines] [templates] [uses]\n", argv[0]);
        return 2;
    }
    const int lines = argc > 2 ? std::atoi(argv[2]) : 100000;
    const int templates = argc > 3 ? std::atoi(argv[3]) : 200;
    const int uses = argc > 4 ? std::atoi(argv[4]) : 20000;
    const QString path = QString::fromLocal8Bit(argv[1]);
    return writeFileBytes(path, generateTemplateSource(lines, templates, uses)) ? 0 : 1;
}
