#pragma once

#include "document/ElementTree.h"

#include <cstring>

// The two databases the crash-safety test saves over each other: attached files of random
// bytes (each stored as twice its size in hex), the same for the same seed.
namespace vaultbase::test {

inline constexpr char SaveLoopPassword[] = "kill-test";

inline void fillBigTree(ElementTree &tree, quint32 seed, qint64 bytes)
{
    // A xorshift generator: random enough to defeat any compression, and fast, since the
    // test starts the child that builds these trees a hundred times.
    quint64 state = 0x9E3779B97F4A7C15ull * (seed + 1);
    constexpr qint64 FileBytes = 512 * 1024;
    ElementNode *folder = tree.insertElement(nullptr, "Files", KindFolder, KindOpenFolder, ElementData());
    for (qint64 done = 0, n = 0; done < bytes; done += 2 * FileBytes, ++n) {
        QByteArray blob(FileBytes, Qt::Uninitialized);
        for (qsizetype at = 0; at < blob.size(); at += 8) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            std::memcpy(blob.data() + at, &state, 8);
        }
        ElementData data;
        data.Content = "file " + QByteArray::number(n) + " of seed " + QByteArray::number(seed);
        data.Created = "2024-05-06 07:08:09";
        data.Modified = data.Created;
        data.setBlob(std::move(blob));
        tree.insertElement(folder, "f" + QByteArray::number(n) + ".bin", KindFile, KindFile, std::move(data));
    }
}

} // namespace vaultbase::test
