// The child process of the crash-safety test: saves two big databases over the file at
// PATH by turns, the one numbered FIRST (0 or 1) first, without end, until it is killed.
//   vaultbase_save_loop PATH BYTES FIRST
#include "SaveLoopTrees.h"

#include "document/DatabaseFile.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: vaultbase_save_loop PATH BYTES FIRST\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const qint64 bytes = std::atoll(argv[2]);
    const unsigned first = unsigned(std::atoi(argv[3]));
    ElementTree trees[2];
    vaultbase::test::fillBigTree(trees[0], 1, bytes);
    vaultbase::test::fillBigTree(trees[1], 2, bytes);
    std::puts("ready");
    std::fflush(stdout);
    for (unsigned i = first;; ++i) {
        if (!saveDatabase(trees[i % 2], path, vaultbase::test::SaveLoopPassword, true)) {
            std::fprintf(stderr, "save failed\n");
            return 1;
        }
    }
}
