#include "extensionuse.h"

#include <cstddef>

namespace {

// Whether the size bytes at text spell word (lower case ASCII) in any case.
bool spells(const char* text, const char* word, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if ((text[i] | 0x20) != word[i])
            return false;
    }
    return true;
}

} // namespace

bool mayUseExtensions(const QByteArray& bytes) {
    static const char templateWord[] = "template";
    static const char extendsWord[] = "extends";
    const char* const text = bytes.constData();
    const std::size_t size = std::size_t(bytes.size());
    // One look at each byte: only '<', 't' and 'e' (either case) can start
    // what is looked for.
    for (std::size_t at = 0; at < size; ++at) {
        const char c = char(text[at] | 0x20);
        const std::size_t left = size - at;
        if (text[at] == '<') {
            if (left >= 3 && text[at + 1] == '<' && text[at + 2] == '<')
                return true;
        } else if (c == 't') {
            if (left >= 8 && spells(text + at, templateWord, 8))
                return true;
        } else if (c == 'e') {
            if (left >= 7 && spells(text + at, extendsWord, 7))
                return true;
        }
    }
    return false;
}
