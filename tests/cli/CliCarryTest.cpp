// attach, portable and keyfile create end to end, and every command reading databases
// carried in other files.
#include "CliRunner.h"
#include "TestRegistry.h"

#include "document/AttachedDatabase.h"
#include "document/KeyFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <sys/stat.h>

using namespace vaultbase::test;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

int fileMode(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
}

QByteArray le32(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

const QByteArray listing = "Bank\nBank > PIN\n";

} // namespace

class CliCarryTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_database;
    qint64 m_databaseSize = 0;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    CliResult ls(const QString &file, const QByteArray &password = "pw\n") const
    {
        return runCli({"ls", "--password-stdin", file}, password);
    }

private slots:
    void initTestCase()
    {
        ElementTree tree;
        ElementNode *bank = addElement(tree, nullptr, "Bank", KindFolder);
        ElementData pin;
        pin.Content = "jane";
        pin.Detail = "4711";
        addElement(tree, bank, "PIN", KindKey, pin);
        m_database = path("db.kvdb");
        QVERIFY(saveDatabase(tree, m_database, "pw", true));
        m_databaseSize = QFileInfo(m_database).size();
    }

    void attachToAPicture()
    {
        QByteArray picture(1000, '\0');
        for (int i = 0; i < picture.size(); ++i) {
            picture[i] = char(i * 13);
        }
        QVERIFY(writeBytes(path("photo.jpg"), picture));
        const CliResult attached =
            runCli({"attach", "--to", path("photo.jpg"), "--out", path("carried.jpg"), "--password-stdin", m_database},
                   "pw\n");
        QCOMPARE(attached.exitCode, 0);
        const QByteArray out = fileBytes(path("carried.jpg"));
        QCOMPARE(out.size(), 1000 + m_databaseSize + 32);
        QCOMPARE(out.left(1000), picture);
        QCOMPARE(fileMode(path("carried.jpg")), 0600);

        // Every command that opens a database opens the carried one.
        QCOMPARE(ls(path("carried.jpg")).out, listing);
        QCOMPARE(runCli({"show", "--field", "detail", "--password-stdin", path("carried.jpg"), "Bank > PIN"}, "pw\n").out,
                 QByteArray("4711\n"));
        QVERIFY(runCli({"info", "--password-stdin", path("carried.jpg")}, "pw\n").out.contains("Number of all items - 2"));
        QCOMPARE(ls(path("carried.jpg"), "wrong\n").err, QByteArray("Wrong password!\n"));
        // Renamed to .kvdb it is still found, once the whole file does not open.
        QVERIFY(QFile::copy(path("carried.jpg"), path("renamed.kvdb")));
        QCOMPARE(ls(path("renamed.kvdb")).out, listing);

        // An existing output is kept unless --force is given.
        const CliResult again =
            runCli({"attach", "--to", path("photo.jpg"), "--out", path("carried.jpg"), "--password-stdin", m_database},
                   "pw\n");
        QCOMPARE(again.exitCode, 1);
        QVERIFY(again.err.contains("--force"));
        QCOMPARE(runCli({"attach", "--force", "--to", path("carried.jpg"), "--out", path("carried.jpg"),
                         "--password-stdin", path("carried.jpg")},
                        "pw\n")
                     .exitCode,
                 0);
        QCOMPARE(QFileInfo(path("carried.jpg")).size(), 1000 + 2 * (m_databaseSize + 32));
        QCOMPARE(runCli({"attach", "--out", path("x"), "--password-stdin", m_database}, "pw\n").exitCode, 2);
        QCOMPARE(runCli({"attach", "--to", path("none"), "--out", path("x"), "--password-stdin", m_database}, "pw\n")
                     .exitCode,
                 1);
    }

    void portableCopiesHoldTheProgramOnce()
    {
        // The tool itself stands for the program: an ELF file carrying nothing.
        const QString program = QStringLiteral(VAULTBASE_CLI_PATH);
        const qint64 programSize = QFileInfo(program).size();
        QVERIFY(!findAttachedDatabase(program));
        QCOMPARE(ls(program).err, QByteArray("Wrong password!\n"));

        QVERIFY(writeBytes(path("Deutsch.lng"), "FrmMain.MenFile=\"Datei\"\r\n"));
        const CliResult first = runCli({"portable", "--program", program, "--language", path("Deutsch.lng"), "--out",
                                        path("first"), "--password-stdin", m_database},
                                       "pw\n");
        QCOMPARE(first.exitCode, 0);
        QCOMPARE(fileMode(path("first")), 0700);
        const std::optional<CarriedDatabase> carried = findAttachedDatabase(path("first"));
        QVERIFY(carried);
        QCOMPARE(carried->kind, CarriedDatabase::Portable);
        QCOMPARE(carried->programLength, programSize);
        QVERIFY(carried->languageText.contains("MenFile=\"Datei\""));
        QCOMPARE(ls(path("first")).out, listing);
        // The copy still runs.
        QProcess copy;
        copy.start(path("first"), {"generate", "--length", "12"});
        QVERIFY(copy.waitForFinished(60000));
        QCOMPARE(copy.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(copy.readAllStandardOutput()).size(), 13);

        const CliResult second = runCli(
            {"portable", "--program", path("first"), "--out", path("second"), "--password-stdin", path("first")}, "pw\n");
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(QFileInfo(path("second")).size(), programSize + m_databaseSize + 34);
        QCOMPARE(fileBytes(path("second")).left(programSize), fileBytes(program));
        QCOMPARE(ls(path("second")).out, listing);
        QCOMPARE(runCli({"portable", "--program", path("none"), "--out", path("third"), "--password-stdin", m_database},
                        "pw\n")
                     .exitCode,
                 1);
    }

    void windowsPortableCopyOpens()
    {
        QByteArray program(512, 'x');
        program.replace(0, 2, "MZ");
        program.replace(80, 4, le32(512));
        const QByteArray cipher = fileBytes(m_database);
        const QByteArray language = "FrmMain.MenFile=\"Fichier\"";
        QVERIFY(writeBytes(path("Vault.exe"),
                           program + le32(qint32(cipher.size())) + cipher + le32(qint32(language.size())) + language));
        QCOMPARE(ls(path("Vault.exe")).out, listing);

        // The same bytes with 'T' at offset 80 are the program as installed: read whole,
        // they are no database.
        QByteArray installed = fileBytes(path("Vault.exe"));
        installed.replace(80, 4, "This");
        QVERIFY(writeBytes(path("Installed.exe"), installed));
        QCOMPARE(ls(path("Installed.exe")).err, QByteArray("Wrong password!\n"));
    }

    void keyFileCreate()
    {
        const QString key = path("new.kvky");
        const CliResult created = runCli({"keyfile", "create", "--password-stdin", key}, "p\xc3\xa9w\n");
        QCOMPARE(created.exitCode, 0);
        QCOMPARE(readKeyFile(key), std::optional<QByteArray>("p\xe9w"));
        QCOMPARE(fileMode(key), 0600);
        QCOMPARE(runCli({"keyfile", "create", "--password-stdin", key}, "other\n").exitCode, 1);
        QCOMPARE(readKeyFile(key), std::optional<QByteArray>("p\xe9w"));
        QCOMPARE(runCli({"keyfile", "create", "--force", "--password-stdin", key}, "pw\n").exitCode, 0);
        QCOMPARE(runCli({"ls", "--key-file", key, m_database}).out, listing);

        QCOMPARE(runCli({"keyfile", "create", "--key-file", key, path("copy.kvky")}).exitCode, 2);
        QCOMPARE(runCli({"keyfile", "--password-stdin", path("k.kvky")}, "pw\n").exitCode, 2); // no "create"
        QCOMPARE(runCli({"keyfile", "create", "--password-stdin", path("e.kvky")}, "\n").exitCode, 1);
        QVERIFY(!QFile::exists(path("e.kvky")));
        // No terminal to ask twice on, no password option: nothing is written.
        QCOMPARE(runCli({"keyfile", "create", path("t.kvky")}).exitCode, 1);
        QVERIFY(!QFile::exists(path("t.kvky")));
    }
};

VAULTBASE_TEST(CliCarryTest)
#include "CliCarryTest.moc"
