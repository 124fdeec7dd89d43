// ls and export on databases made here through the document API.
#include "CliRunner.h"
#include "TestRegistry.h"

#include <QTemporaryDir>

using namespace vaultbase::test;

class CliReadTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString save(const ElementTree &tree, const char *name, bool binary = true)
    {
        const QString path = m_dir.filePath(QString::fromLatin1(name));
        if (!saveDatabase(tree, path, "pw", binary)) {
            qWarning() << "cannot save" << path;
        }
        return path;
    }

private slots:
    void lsWalksTheTreeInOrderWithFullPaths()
    {
        ElementTree tree;
        // Inserted out of order: the output follows sibling order (a < A < b) and goes
        // depth first, each line with the whole path.
        ElementNode *bank = addElement(tree, nullptr, "bank", KindFolder);
        ElementNode *cards = addElement(tree, bank, "Cards", KindFolder);
        addElement(tree, cards, "Visa", KindKey);
        addElement(tree, bank, "PIN", KindKey);
        addElement(tree, nullptr, "Bank", KindEntry);
        addElement(tree, nullptr, "caf\xe9 \x80", KindEntry);
        addElement(tree, nullptr, "a\x1b[2Jb", KindEntry); // a name that would drive the terminal
        const QString path = save(tree, "list.kvdb");

        const CliResult result = runCli({"ls", "--password-stdin", path}, "pw\n");
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err, QByteArray());
        QCOMPARE(QString::fromUtf8(result.out), QStringLiteral("a?[2Jb\n"
                                                              "bank\n"
                                                              "bank > Cards\n"
                                                              "bank > Cards > Visa\n"
                                                              "bank > PIN\n"
                                                              "Bank\n"
                                                              "caf\u00e9 \u20ac\n"));
    }

    void lsOfAnEmptyDatabasePrintsNothing()
    {
        const QString path = save(ElementTree(), "empty.kvdb");
        for (const char *command : {"ls", "export"}) {
            const CliResult result = runCli({command, "--password-stdin", path}, "pw\n");
            QCOMPARE(result.exitCode, 0);
            QCOMPARE(result.err, QByteArray());
            if (QByteArray(command) == "ls") {
                QCOMPARE(result.out, QByteArray());
            } else {
                QCOMPARE(exportedElements(result.out).size(), 0);
                QVERIFY(result.out.startsWith("{\"elements\":[]}"));
            }
        }
    }

    void exportCarriesEveryFieldDecoded()
    {
        ElementTree tree;
        ElementData folderData;
        folderData.Content = "{\\rtf1\\ansi caf\\'e9}"; // stored RTF stays as stored
        ElementNode *folder = addElement(tree, nullptr, "Sp\xe9" "cial \"q\" \\", KindFolder, folderData);
        ElementData key;
        key.Content = "user\x80";
        key.Detail = QByteArray("p\0w\x01\t\n\r\x7f\x81\xff", 10); // controls and the undefined byte
        key.Comment = "line1\r\nline2";
        addElement(tree, folder, "PIN", KindKey, key);
        ElementData file;
        file.Detail = "bytes.bin";
        QByteArray bytes;
        for (int i = 0; i < 4000; ++i) {
            bytes.append(char(i % 3 == 0 ? 0x00 : i % 3 == 1 ? 0xFF : i));
        }
        file.setBlob(bytes);
        addElement(tree, folder, "bytes.bin", KindFile, file);
        addElement(tree, folder, "Table", KindTable); // never edited: no blob
        const QString path = save(tree, "export.kvdb");

        const CliResult result = runCli({"export", "--format", "json", "--password-stdin", path}, "pw\n");
        QCOMPARE(result.exitCode, 0);
        const QJsonArray elements = exportedElements(result.out);
        QCOMPARE(elements.size(), 4);

        const QJsonObject top = elements[0].toObject();
        QCOMPARE(top.value("path").toArray(), QJsonArray({QStringLiteral("Sp\u00e9cial \"q\" \\")}));
        QCOMPARE(top.value("kind").toInt(), 0);
        QCOMPARE(top.value("selected").toInt(), 1);
        QCOMPARE(top.value("content").toString(), QStringLiteral("{\\rtf1\\ansi caf\\'e9}"));
        QVERIFY(top.value("blob").isNull());
        QCOMPARE(top.value("created").toString(), QStringLiteral("2024-03-01 08:00:00"));
        QCOMPARE(top.value("modified").toString(), QStringLiteral("2024-03-02 09:30:00"));

        // Sibling order: bytes.bin, PIN, Table.
        const QJsonObject blob = elements[1].toObject();
        QCOMPARE(blob.value("path").toArray(),
                 QJsonArray({QStringLiteral("Sp\u00e9cial \"q\" \\"), QStringLiteral("bytes.bin")}));
        QCOMPARE(blob.value("kind").toInt(), 4);
        QCOMPARE(blob.value("detail").toString(), QStringLiteral("bytes.bin"));
        QCOMPARE(QByteArray::fromBase64(blob.value("blob").toString().toLatin1()), bytes);

        const QJsonObject pin = elements[2].toObject();
        QCOMPARE(pin.value("path").toArray().last().toString(), QStringLiteral("PIN"));
        QCOMPARE(pin.value("kind").toInt(), 3);
        QCOMPARE(pin.value("selected").toInt(), 3);
        QCOMPARE(pin.value("content").toString(), QStringLiteral("user\u20ac"));
        QCOMPARE(pin.value("detail").toString(), QString::fromUtf16(u"p\u0000w\u0001\t\n\r\u007f\u0081\u00ff", 10));
        QCOMPARE(pin.value("comment").toString(), QStringLiteral("line1\r\nline2"));
        QVERIFY(pin.value("blob").isNull());

        const QJsonObject table = elements[3].toObject();
        QCOMPARE(table.value("path").toArray().last().toString(), QStringLiteral("Table"));
        QCOMPARE(table.value("kind").toInt(), 5);
        QCOMPARE(table.value("selected").toInt(), 5);
        QVERIFY(table.value("blob").isNull());

        // Raw output: UTF-8 for the code-page bytes, escapes for controls, one element a line.
        QVERIFY(result.out.contains("\"user\xe2\x82\xac\""));
        QVERIFY(result.out.contains("\"p\\u0000w\\u0001\\t\\n\\r"));
        QCOMPARE(result.out.count('\n'), 6);
    }

    void exportOfABigBlobIsWholeAndValid()
    {
        // Bigger than the output buffer and not a multiple of three bytes.
        QByteArray bytes(3 * 1024 * 1024 + 2, '\0');
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            bytes[i] = char((i * 7919) >> 3);
        }
        ElementTree tree;
        ElementData data;
        data.setBlob(bytes);
        addElement(tree, nullptr, "big", KindFile, data);
        const QString path = save(tree, "big.kvdb");
        const CliResult result = runCli({"export", "--password-stdin", path}, "pw\n");
        QCOMPARE(result.exitCode, 0);
        const QJsonArray elements = exportedElements(result.out);
        QCOMPARE(elements.size(), 1);
        QCOMPARE(QByteArray::fromBase64(elements[0].toObject().value("blob").toString().toLatin1()), bytes);
    }

    void textFormDatabasesReadAlike()
    {
        ElementTree tree;
        ElementNode *folder = addElement(tree, nullptr, "F", KindFolder);
        addElement(tree, folder, "k", KindKey);
        const CliResult binary = runCli({"export", "--password-stdin", save(tree, "b.kvdb", true)}, "pw\n");
        const CliResult text = runCli({"export", "--password-stdin", save(tree, "t.kvdb", false)}, "pw\n");
        QCOMPARE(binary.exitCode, 0);
        QCOMPARE(text.exitCode, 0);
        QCOMPARE(text.out, binary.out);
    }
};

VAULTBASE_TEST(CliReadTest)
#include "CliReadTest.moc"
