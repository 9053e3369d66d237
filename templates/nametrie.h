#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QList>

// The template names of a file, letter case folded, stored byte by byte so that every name a
// member's qualifier begins with is found in one walk over the qualifier, however many names there
// are.
class NameTrie {
public:
    static constexpr int root = 0;
    static constexpr int none = -1;

    // Adds a name and returns its node.
    int add(QByteArrayView name);

    // The node a name ends at, or none when it was never added.
    int find(QByteArrayView name) const;

    // One step of a walk: the node after node when the next character is c.
    int step(int node, char c) const;

    bool isName(int node) const { return terminal[node]; }

private:
    QHash<quint64, int> children; // (node, folded byte) -> child node
    QList<bool> terminal{false};
};
