#include "nametrie.h"

namespace {

quint64 childKey(int node, QChar c) {
    return (quint64(node) << 16) | c.toCaseFolded().unicode();
}

} // namespace

int NameTrie::add(QStringView name) {
    int node = root;
    for (const QChar c : name) {
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

int NameTrie::find(QStringView name) const {
    int node = root;
    for (const QChar c : name) {
        node = step(node, c);
        if (node == none)
            return none;
    }
    return isName(node) ? node : none;
}

int NameTrie::step(int node, QChar c) const {
    return children.value(childKey(node, c), none);
}
