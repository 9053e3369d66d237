#include "nametrie.h"

#include "characters.h"

namespace {

quint64 childKey(int node, char c) {
    return (quint64(node) << 8) | uchar(foldCase(c));
}

} // namespace

int NameTrie::add(QByteArrayView name) {
    int node = root;
    for (const char c : name) {
        const quint64 key = childKey(node, c);
        auto it = children.constFind(key);
        if (it == children.constEnd()) {
            terminal.append(false);
            it = children.insert(key, int(terminal.size() - 1));
        }
        node = it.value();
    }
    terminal[node] = true;
    return node;
}

int NameTrie::find(QByteArrayView name) const {
    int node = root;
    for (const char c : name) {
        node = step(node, c);
        if (node == none)
            return none;
    }
    return isName(node) ? node : none;
}

int NameTrie::step(int node, char c) const {
    return children.value(childKey(node, c), none);
}
