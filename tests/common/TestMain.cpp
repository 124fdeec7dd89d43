#include "ModalAnswers.h"
#include "TestRegistry.h"

#include <QApplication>
#include <QStringList>
#include <QTest>

#include <cstdio>

// Runs every registered test class. VAULTBASE_TEST_CLASS=Name[,Name] runs only those;
// the command-line arguments go to Qt Test (for example one test function's name).
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList only = qEnvironmentVariable("VAULTBASE_TEST_CLASS").split(QLatin1Char(','), Qt::SkipEmptyParts);
    int failed = 0;
    for (const auto &entry : vaultbase::test::registry()) {
        if (!only.isEmpty() && !only.contains(QLatin1String(entry.name))) {
            continue;
        }
        auto object = entry.make();
        failed += QTest::qExec(object.get(), app.arguments());
        vaultbase::test::discardModalAnswers();
    }
    if (failed != 0) {
        std::fprintf(stderr, "%d test function(s) failed\n", failed);
    }
    return failed == 0 ? 0 : 1;
}
