#include "TestRegistry.h"

#include "document/ElementTree.h"
#include "shell/LanguageStore.h"
#include "tools/DatabaseProperties.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>

class PropertiesTest : public QObject
{
    Q_OBJECT

private slots:
    void countsByKind()
    {
        ElementTree tree;
        ElementNode *bank = tree.insertElement(nullptr, "Bank", KindFolder, KindOpenFolder, {});
        tree.insertElement(bank, "Cards", KindFolder, KindOpenFolder, {});
        tree.insertElement(bank, "PIN", KindKey, KindKey, {});
        tree.insertElement(nullptr, "Grid", KindTable, KindTable, {});
        ElementCounts expected;
        expected.all = 4;
        expected.folders = 2;
        expected.keys = 1;
        expected.tables = 1;
        QCOMPARE(countElements(tree), expected);

        // A kind code this program does not know counts as a folder.
        tree.insertElement(nullptr, "Odd", 9, 9, {});
        tree.insertElement(nullptr, "Note", KindEntry, KindEntry, {});
        tree.insertElement(bank, "scan.png", KindFile, KindFile, {});
        const ElementCounts more = countElements(tree);
        QCOMPARE(more.all, 7);
        QCOMPARE(more.folders, 3);
        QCOMPARE(more.entries, 1);
        QCOMPARE(more.files, 1);
        QCOMPARE(countElements(ElementTree()), ElementCounts());
    }

    void sizeTextHasADecimalPointInEveryLocale()
    {
        const QLocale before;
        const std::string cLocale = std::setlocale(LC_ALL, nullptr);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_ALL, "de_DE.UTF-8"); // may be missing; Qt's default is German anyway
        QCOMPARE(fileSizeText(1536), QString("1.50 KB (1536 bytes)"));
        QCOMPARE(fileSizeText(2048), QString("2.00 KB (2048 bytes)"));
        QCOMPARE(fileSizeText(0), QString("0.00 KB (0 bytes)"));
        QCOMPARE(fileSizeText(1535), QString("1.50 KB (1535 bytes)"));
        QCOMPARE(fileSizeText(1000), QString("0.98 KB (1000 bytes)"));
        // Sizes beyond 32 bits keep their byte count.
        QCOMPARE(fileSizeText(5368709120LL), QString("5242880.00 KB (5368709120 bytes)"));
        std::setlocale(LC_ALL, cLocale.c_str());
        QLocale::setDefault(before);
    }

    void fileFacts()
    {
        QCOMPARE(fileDateText(QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9))), QString("2024-03-05 07:08:09"));

        const FileFacts unsaved = fileFactsOf(QString());
        QVERIFY(unsaved.fileName.isEmpty() && unsaved.path.isEmpty() && unsaved.size.isEmpty()
                && unsaved.date.isEmpty());

        QTemporaryDir dir;
        const QString path = dir.filePath("private.kvdb");
        const FileFacts missing = fileFactsOf(path);
        QCOMPARE(missing.fileName, QString("private.kvdb"));
        QCOMPARE(missing.path, path);
        QVERIFY(missing.size.isEmpty() && missing.date.isEmpty());

        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(1536, 'x'));
        file.close();
        const QDateTime stamp(QDate(2023, 12, 31), QTime(23, 59, 58));
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(stamp, QFileDevice::FileModificationTime));
        file.close();
        const FileFacts saved = fileFactsOf(path);
        QCOMPARE(saved.size, QString("1.50 KB (1536 bytes)"));
        QCOMPARE(saved.date, QString("2023-12-31 23:59:58"));

        // A folder is no database file: no size, no date.
        QVERIFY(fileFactsOf(dir.path()).size.isEmpty());
    }

    void summaryInItsOrder()
    {
        const FileFacts file{"a.kvdb", "/d/a.kvdb", "2.00 KB (2048 bytes)", "2024-01-02 03:04:05"};
        ElementCounts counts;
        counts.all = 6;
        counts.entries = 1;
        counts.folders = 2;
        counts.files = 0;
        counts.keys = 2;
        counts.tables = 1;
        LanguageStore english;
        const QString expected = "Filename - a.kvdb\r\n"
                                 "Folder - /d/a.kvdb\r\n"
                                 "Filesize - 2.00 KB (2048 bytes)\r\n"
                                 "Filedate - 2024-01-02 03:04:05\r\n"
                                 "%1"
                                 "Number of all items - 6\r\n"
                                 "Number of entry items - 1\r\n"
                                 "Number of folder items - 2\r\n"
                                 "Number of file items - 0\r\n"
                                 "Number of key items - 2\r\n"
                                 "Number of table items - 1\r\n";
        // No checksum (algorithm "-"): no checksum line.
        QCOMPARE(propertiesSummaryText(propertiesSummaryLines(file, "-", QString(), counts, english)),
                 expected.arg(QString()));
        QCOMPARE(propertiesSummaryText(propertiesSummaryLines(file, "SHA-2 (256)", "abc", counts, english)),
                 expected.arg("SHA-2 (256) - abc\r\n"));

        // Captions are the labels in the current language.
        LanguageStore german;
        german.loadFromText("FrmProp.LblFilename=\"Dateiname\"\r\nFrmProp.LblKeyItems=\"Anzahl Schl\xFC" "ssel\"\r\n");
        const QList<PropertiesLine> lines = propertiesSummaryLines(file, "-", QString(), counts, german);
        QCOMPARE(lines.first().caption, QString("Dateiname"));
        QCOMPARE(lines.at(8).caption, QString::fromUtf8("Anzahl Schl\xC3\xBCssel"));
        QCOMPARE(lines.at(1).caption, QString("Folder"));
    }
};

VAULTBASE_TEST(PropertiesTest)
#include "PropertiesTest.moc"
