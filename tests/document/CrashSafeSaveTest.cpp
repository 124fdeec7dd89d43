// A save killed at any moment leaves the old database or the new one, whole, and nothing
// beside it: a child process saves two big databases over each other without end and is
// killed with SIGKILL at random moments.
#include "TestRegistry.h"

#include "../helpers/SaveLoopTrees.h"
#include "document/DatabaseFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace vaultbase::test;

namespace {

#ifdef __SANITIZE_ADDRESS__
constexpr qint64 DatabaseBytes = qint64(4) << 20; // the sanitizers slow every save tenfold
#else
constexpr qint64 DatabaseBytes = qint64(20) << 20;
#endif
constexpr int Kills = 100;
// The first kills hit the first save of a database that has no file yet.
constexpr int FirstSaves = 10;

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class CrashSafeSaveTest : public QObject
{
    Q_OBJECT

private slots:
    void killedSavesLeaveTheOldOrTheNewFile()
    {
        ElementTree trees[2];
        fillBigTree(trees[0], 1, DatabaseBytes);
        fillBigTree(trees[1], 2, DatabaseBytes);
        const QByteArray saved[2] = {*encryptDatabase(trees[0], SaveLoopPassword, true),
                                     *encryptDatabase(trees[1], SaveLoopPassword, true)};
        QTemporaryDir dir;
        const QString path = dir.filePath("big.kvdb");
        QElapsedTimer timer;
        timer.start();
        QVERIFY(saveDatabase(trees[0], path, SaveLoopPassword, true));
        const int saveMs = std::max<int>(1, int(timer.elapsed()));
        QCOMPARE(fileBytes(path), saved[0]);

        QRandomGenerator random(20240506);
        int whole[2] = {0, 0};
        for (int kill = 0; kill < Kills; ++kill) {
            const bool firstSave = kill < FirstSaves;
            if (firstSave) {
                QFile::remove(path);
            } else if (kill == FirstSaves) {
                QVERIFY(saveDatabase(trees[0], path, SaveLoopPassword, true));
            }
            QProcess child;
            child.start(QStringLiteral(VAULTBASE_SAVE_LOOP_PATH),
                        {path, QString::number(DatabaseBytes), QString::number(kill % 2)});
            QVERIFY(child.waitForReadyRead(30000));
            QCOMPARE(child.readLine(), QByteArray("ready\n"));
            // The child saves by turns without a pause: a moment within two saves' length
            // falls on any step of a save, and often after a first save has completed (the
            // child's saves run slower than this process's warm one).
            QTest::qSleep(random.bounded(2 * saveMs + 1));
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished(30000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);

            // Never an empty or a partial file, and at most one new file left beside it
            // (a save killed between naming its new file and renaming it), which the next
            // save takes over: nothing accumulates.
            const QStringList entries = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
            QVERIFY2(entries.size() <= 2, qPrintable(entries.join(u' ')));
            if (!QFile::exists(path)) {
                QVERIFY(firstSave);
                continue;
            }
            const QByteArray now = fileBytes(path);
            QVERIFY2(now == saved[0] || now == saved[1], qPrintable(QStringLiteral("kill %1: %2 bytes").arg(kill).arg(now.size())));
            ++whole[now == saved[0] ? 0 : 1];
        }
        QVERIFY(whole[0] > 0 && whole[1] > 0);
        QVERIFY(saveDatabase(trees[0], path, SaveLoopPassword, true));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{"big.kvdb"});
    }
};

VAULTBASE_TEST(CrashSafeSaveTest)
#include "CrashSafeSaveTest.moc"
