#include "TestRegistry.h"

#include "document/ElementTree.h"
#include "shell/LanguageStore.h"
#include "shell/Settings.h"
#include "tools/ui/PropertiesDialog.h"

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString field(const QDialog &dialog, const char *name)
{
    return dialog.findChild<QLineEdit *>(QLatin1String(name))->text();
}

// Two folders, one key and one table.
void buildTree(ElementTree &tree)
{
    ElementNode *bank = tree.insertElement(nullptr, "Bank", KindFolder, KindOpenFolder, {});
    tree.insertElement(bank, "Cards", KindFolder, KindOpenFolder, {});
    tree.insertElement(bank, "PIN", KindKey, KindKey, {});
    tree.insertElement(nullptr, "Grid", KindTable, KindTable, {});
}

} // namespace

class PropertiesDialogTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    LanguageStore m_language;

private slots:
    void figuresOfAKnownFile()
    {
        const QString path = m_dir.filePath("Bank.kvdb");
        QVERIFY(QFile::copy(vaultbase::test::dataPath("tools/properties-1536.bin"), path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2018, 10, 27), QTime(15, 30, 12)), QFileDevice::FileModificationTime));
        file.close();
        ElementTree tree;
        buildTree(tree);
        Settings settings;
        settings.checksum = 6; // SHA-2 (256), as saved
        PropertiesDialog dialog(m_language, settings);
        dialog.setDatabase(path, tree, "abc");
        QSignalSpy done(&dialog, &PropertiesDialog::checksumDone);
        dialog.show();
        QTRY_VERIFY(!done.isEmpty());

        QCOMPARE(field(dialog, "EdtFilename"), QString("Bank.kvdb"));
        QCOMPARE(field(dialog, "EdtPath"), path);
        QCOMPARE(field(dialog, "EdtFilesize"), QString("1.50 KB (1536 bytes)"));
        QCOMPARE(field(dialog, "EdtFiledate"), QString("2018-10-27 15:30:12"));
        QCOMPARE(field(dialog, "EdtChecksum"), QString("e3e630eb2fc91c01c6aaff2822e3891417061e25f8f91af440edf82aae49e740"));
        QCOMPARE(field(dialog, "EdtAllItems"), QString("4"));
        QCOMPARE(field(dialog, "EdtFolderItems"), QString("2"));
        QCOMPARE(field(dialog, "EdtTableItems"), QString("1"));
        QCOMPARE(field(dialog, "EdtPasswordLen"), QString("3"));
        QCOMPARE(dialog.findChild<QLabel *>("LblRisks")->text(),
                 QString("- length is less than 8 characters\n- no numbers\n"
                         "- no non alphanumeric characters (e.g. #,@,$)\n- no uppercase characters"));

        // Another algorithm recomputes at once and is remembered; "-" leaves no checksum line.
        auto *algorithm = dialog.findChild<QComboBox *>("CbbChecksum");
        algorithm->setCurrentIndex(3);
        QTRY_COMPARE(field(dialog, "EdtChecksum"), QString("58646c281ab5454b66d39f67b7c02aaf"));
        QCOMPARE(settings.checksum, 3);
        dialog.copyChecksum();
        QVERIFY(QGuiApplication::clipboard()->text().contains("\r\nMD5 - 58646c281ab5454b66d39f67b7c02aaf\r\n"));
        algorithm->setCurrentIndex(0);
        QCOMPARE(field(dialog, "EdtChecksum"), QString());
        dialog.copyChecksum();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 "Filename - Bank.kvdb\r\nFolder - " + path + "\r\nFilesize - 1.50 KB (1536 bytes)\r\n"
                 "Filedate - 2018-10-27 15:30:12\r\nNumber of all items - 4\r\nNumber of entry items - 0\r\n"
                 "Number of folder items - 2\r\nNumber of file items - 0\r\nNumber of key items - 1\r\n"
                 "Number of table items - 1\r\n");
    }

    void neverSavedShowsCountsOnly()
    {
        ElementTree tree;
        buildTree(tree);
        Settings settings;
        settings.checksum = 6;
        PropertiesDialog dialog(m_language, settings);
        dialog.setDatabase(QString(), tree, "");
        dialog.show();
        for (const char *name : {"EdtFilename", "EdtPath", "EdtFilesize", "EdtFiledate", "EdtChecksum"}) {
            QCOMPARE(field(dialog, name), QString());
        }
        QVERIFY(!dialog.checksumRunning());
        QCOMPARE(field(dialog, "EdtKeyItems"), QString("1"));
        QCOMPARE(dialog.findChild<QLabel *>("LblRisks")->text(), QString("- Password is not set yet."));
    }

    // A large file is read off the user-interface thread: the dialog shows its progress
    // while events run, and Cancel stops it with no checksum.
    void largeFileShowsProgressAndCancels()
    {
        const QString path = m_dir.filePath("large.kvdb");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(qint64(1) << 30)); // 1 GB, sparse
        file.close();
        ElementTree tree;
        Settings settings;
        settings.checksum = 1; // MD2, the slowest
        PropertiesDialog dialog(m_language, settings);
        dialog.setDatabase(path, tree, "");
        QSignalSpy done(&dialog, &PropertiesDialog::checksumDone);
        dialog.show();
        auto *progress = dialog.findChild<QProgressBar *>("PrbChecksum");
        // The worker runs at low priority: on a busy machine its first report takes a while.
        constexpr int Patience = 60000;
        QTRY_VERIFY_WITH_TIMEOUT(progress->isVisible(), Patience);
        QVERIFY(dialog.checksumRunning());
        QTRY_VERIFY_WITH_TIMEOUT(progress->value() > 0, Patience);
        dialog.findChild<QPushButton *>("BtnCancelChecksum")->click();
        QVERIFY(!dialog.checksumRunning());
        QVERIFY(!progress->isVisible());
        QCOMPARE(field(dialog, "EdtChecksum"), QString());
        QCOMPARE(done.size(), 1);
        // Closing while a computation runs stops it as well.
        dialog.showSelectedChecksum();
        QVERIFY(dialog.checksumRunning());
        dialog.reject();
        QVERIFY(!dialog.checksumRunning());
    }
};

VAULTBASE_TEST(PropertiesDialogTest)
#include "PropertiesDialogTest.moc"
