#include "FileMode.h"
#include "TestRegistry.h"
#include "TreeHelpers.h"

#include "document/AttachedDatabase.h"
#include "document/DatabaseFile.h"
#include "document/ElementTree.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using vaultbase::test::fileMode;
using vaultbase::test::treeDifference;

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

QByteArray le32(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// A picture-like carrier: every byte value, none of them a trailer.
QByteArray carrierBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        bytes[i] = char((i * 7 + 3) & 0xff);
    }
    return bytes;
}

std::optional<CarriedDatabase> carriedIn(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return findAttachedDatabase(buffer);
}

const QByteArray attachmentTrailer("VAULTO_ATTACHMENT_ADDED\0", 24);

} // namespace

class AttachedDatabaseTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    ElementTree m_tree;
    QByteArray m_ciphertext;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        vaultbase::test::fillRandomTree(m_tree, 42, 30);
        const std::optional<QByteArray> cipher = encryptDatabase(m_tree, "secret", true);
        QVERIFY(cipher);
        m_ciphertext = *cipher;
    }

    void attachingKeepsTheCarrierAndOpensAgain()
    {
        const QByteArray picture = carrierBytes(1000);
        QVERIFY(writeBytes(path("picture.png"), picture));
        QVERIFY(writeAttachedDatabase(path("picture.png"), path("carried.png"), false, m_ciphertext));

        const QByteArray out = fileBytes(path("carried.png"));
        const qint64 n = m_ciphertext.size();
        QCOMPARE(out.size(), 1000 + n + 32);
        QCOMPARE(out.left(1000), picture);
        QCOMPARE(out.mid(1000, 4), le32(qint32(n)));
        QCOMPARE(out.mid(1000 + 4 + n, 4), le32(1000));
        QCOMPARE(out.right(24), attachmentTrailer);
        QCOMPARE(fileMode(path("carried.png")), 0600);

        const std::optional<CarriedDatabase> carried = findAttachedDatabase(path("carried.png"));
        QVERIFY(carried);
        QCOMPARE(carried->kind, CarriedDatabase::Attached);
        QCOMPARE(carried->programLength, qint64(1000));
        QCOMPARE(carried->databaseOffset, qint64(1004));
        QCOMPARE(carried->ciphertext, m_ciphertext);
        QVERIFY(carried->languageText.isEmpty());
        ElementTree back;
        QVERIFY(loadDatabaseBuffer(back, carried->ciphertext, "secret"));
        QCOMPARE(treeDifference(m_tree, back), QString());

        // Attaching again takes the carrier whole, as the user chose it.
        QVERIFY(writeAttachedDatabase(path("carried.png"), path("twice.png"), false, m_ciphertext));
        QCOMPARE(findAttachedDatabase(path("twice.png"))->programLength, qint64(out.size()));
    }

    void portableCopyOfAPortableCopyHoldsTheProgramOnce()
    {
        // The test executable itself stands for the program as installed: an ELF file
        // with nothing appended, never a portable copy.
        const QString program = QCoreApplication::applicationFilePath();
        QVERIFY(!findAttachedDatabase(program));
        const qint64 programLength = QFile(program).size();

        const QByteArray language = "[FrmMain]\r\nCaption=\"Tresor\"\r\n";
        QVERIFY(writeAttachedDatabase(program, path("first"), true, m_ciphertext, language));
        QCOMPARE(fileMode(path("first")), 0700);
        const std::optional<CarriedDatabase> first = findAttachedDatabase(path("first"));
        QVERIFY(first);
        QCOMPARE(first->kind, CarriedDatabase::Portable);
        QCOMPARE(first->programLength, programLength);
        QCOMPARE(first->ciphertext, m_ciphertext);
        QCOMPARE(first->languageText, language);

        const QByteArray otherCipher = *encryptDatabase(m_tree, "other", false);
        QVERIFY(writeAttachedDatabase(path("first"), path("second"), true, otherCipher, QByteArray()));
        const QByteArray second = fileBytes(path("second"));
        QCOMPARE(second.size(), programLength + otherCipher.size() + 0 + 34);
        QCOMPARE(second.left(programLength), fileBytes(program));
        QCOMPARE(second.right(26), le32(qint32(programLength)) + QByteArray("VAULTO_PORTABLE_ADDED\0", 22));
        const std::optional<CarriedDatabase> again = findAttachedDatabase(path("second"));
        QVERIFY(again);
        QCOMPARE(again->programLength, programLength);
        QCOMPARE(again->ciphertext, otherCipher);
        QVERIFY(again->languageText.isEmpty());

        // A copy written over its own source reads the source before it is replaced.
        QVERIFY(writeAttachedDatabase(path("second"), path("second"), true, m_ciphertext, language));
        QCOMPARE(findAttachedDatabase(path("second"))->ciphertext, m_ciphertext);
        QCOMPARE(QFile(path("second")).size(), programLength + m_ciphertext.size() + language.size() + 34);
    }

    void windowsPortableCopiesAreRead()
    {
        // MZ, the program length at offset 80, then n, the ciphertext, m and the language.
        QByteArray program = carrierBytes(300);
        program[0] = 'M';
        program[1] = 'Z';
        program.replace(80, 4, le32(300));
        const QByteArray language = "FrmMain.Caption=\"Coffre\"";
        const QByteArray file = program + le32(qint32(m_ciphertext.size())) + m_ciphertext
            + le32(qint32(language.size())) + language;
        const std::optional<CarriedDatabase> carried = carriedIn(file);
        QVERIFY(carried);
        QCOMPARE(carried->kind, CarriedDatabase::WindowsPortable);
        QCOMPARE(carried->programLength, qint64(300));
        QCOMPARE(carried->ciphertext, m_ciphertext);
        QCOMPARE(carried->languageText, language);

        // The installed Windows program holds 'T' at offset 80.
        QByteArray installed = file;
        installed.replace(80, 4, "This");
        QVERIFY(!carriedIn(installed));
        // A portable copy made here from the Windows program ends in our trailer: the
        // trailer wins and the program part keeps its offset-80 field.
        QVERIFY(writeBytes(path("windows.exe"), file));
        QVERIFY(writeAttachedDatabase(path("windows.exe"), path("linux-copy.exe"), true, m_ciphertext, "x"));
        const std::optional<CarriedDatabase> copied = findAttachedDatabase(path("linux-copy.exe"));
        QVERIFY(copied);
        QCOMPARE(copied->kind, CarriedDatabase::Portable);
        QCOMPARE(copied->programLength, qint64(300));
    }

    void offset80RuleHoldsForWindowsExecutablesOnly()
    {
        // An ordinary file whose byte 80 is not 'T' and whose bytes 80..83 even point at
        // a plausible n: not a portable copy, since it does not begin with "MZ".
        QByteArray ordinary = carrierBytes(400);
        ordinary.replace(80, 4, le32(100));
        ordinary.replace(100, 4, le32(50));
        QVERIFY(!carriedIn(ordinary));
        ordinary[0] = 'M';
        ordinary[1] = 'Z';
        ordinary.replace(154, 4, le32(0)); // m = 0 after the 50 bytes at 104
        QVERIFY(carriedIn(ordinary)); // the same bytes as an executable do read
    }

    void damagedNumbersCarryNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        const QByteArray carrier = carrierBytes(64);
        const QByteArray cipher(16, 'c');
        const auto attached = [&](qint32 l, qint32 n, const QByteArray &trailer) {
            return carrier + le32(n) + cipher + le32(l) + trailer;
        };
        QTest::newRow("sound") << attached(64, 16, attachmentTrailer); // the control
        QTest::newRow("trailer without NUL")
            << attached(64, 16, QByteArray("VAULTO_ATTACHMENT_ADDEDX"));
        QTest::newRow("L negative") << attached(-1, 16, attachmentTrailer);
        QTest::newRow("L beyond the end") << attached(5000, 16, attachmentTrailer);
        QTest::newRow("L inside the trailer") << attached(64 + 4 + 16 + 2, 16, attachmentTrailer);
        QTest::newRow("n negative") << attached(64, -16, attachmentTrailer);
        QTest::newRow("n zero") << attached(64, 0, attachmentTrailer);
        QTest::newRow("n over the trailer") << attached(64, 17, attachmentTrailer);
        QTest::newRow("n huge") << attached(64, 0x7fffffff, attachmentTrailer);
        QTest::newRow("28 bytes") << le32(0) + attachmentTrailer;
        QTest::newRow("trailer only and one byte") << QByteArray("x") + le32(0) + attachmentTrailer;
        const QByteArray portableTrailer("VAULTO_PORTABLE_ADDED\0", 22);
        QTest::newRow("portable m beyond the end")
            << carrier + le32(16) + cipher + le32(1000) + le32(64) + portableTrailer;
        QTest::newRow("portable m negative")
            << carrier + le32(16) + cipher + le32(-5) + le32(64) + portableTrailer;
        QTest::newRow("portable without m") << carrier + le32(16) + cipher + le32(64) + portableTrailer;
        QByteArray windows = carrierBytes(120);
        windows[0] = 'M';
        windows[1] = 'Z';
        windows.replace(80, 4, le32(-200));
        QTest::newRow("windows L negative") << windows;
        windows.replace(80, 4, le32(40));
        QTest::newRow("windows L before its own field") << windows;
        windows.replace(80, 4, le32(119));
        QTest::newRow("windows n cut short") << windows;
    }

    void damagedNumbersCarryNothing()
    {
        QFETCH(QByteArray, file);
        const bool sound = QByteArray(QTest::currentDataTag()) == "sound";
        const std::optional<CarriedDatabase> carried = carriedIn(file);
        QCOMPARE(carried.has_value(), sound);
        if (sound) {
            QCOMPARE(carried->ciphertext, QByteArray(16, 'c'));
        }
    }

    void unreadableSourceWritesNothing()
    {
        using Problem = CarryWrite::Problem;
        QCOMPARE(writeAttachedDatabase(path("missing"), path("never"), false, m_ciphertext).problem,
                 Problem::SourceUnreadable);
        QVERIFY(!QFile::exists(path("never")));
        QVERIFY(writeBytes(path("small"), "abc"));
        QCOMPARE(writeAttachedDatabase(path("small"), path("never"), false, QByteArray()).problem, Problem::NoCiphertext);
        QVERIFY(!QFile::exists(path("never")));
        // A destination that cannot be written is a failure with its reason, not a silent success.
        const CarryWrite intoFolder = writeAttachedDatabase(path("small"), m_dir.path(), false, m_ciphertext);
        QCOMPARE(intoFolder.problem, Problem::NotWritten);
        QCOMPARE(intoFolder.failure, SecretFile::Failure::FileNotWritable);
        QCOMPARE(writeAttachedDatabase(path("small"), path("gone/never"), true, m_ciphertext).failure,
                 SecretFile::Failure::FolderMissing);
        QVERIFY(!findAttachedDatabase(path("missing")));
        QVERIFY(!findAttachedDatabase(m_dir.path()));
    }
};

VAULTBASE_TEST(AttachedDatabaseTest)
#include "AttachedDatabaseTest.moc"
