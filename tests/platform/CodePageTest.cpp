#include "TestRegistry.h"

#include "platform/CodePage.h"
#include "platform/SecureMemory.h"

#include <QTest>

class CodePageTest : public QObject
{
    Q_OBJECT

private slots:
    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b) {
            all.append(char(b));
        }
        const QString text = CodePage::toUnicode(all);
        QCOMPARE(text.size(), 256);
        bool ok = false;
        QCOMPARE(CodePage::fromUnicode(text, &ok), all);
        QVERIFY(ok);
    }

    void windowsMappings()
    {
        QCOMPARE(CodePage::toUnicode('\x80').unicode(), char16_t(0x20AC));
        QCOMPARE(CodePage::toUnicode('\x9F').unicode(), char16_t(0x0178));
        // The undefined bytes keep the C1 control of the same value.
        for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
            QCOMPARE(int(CodePage::toUnicode(b).unicode()), int(b));
        }
        QCOMPARE(CodePage::toUnicode(0xA7).unicode(), char16_t(0x00A7)); // section sign
        QCOMPARE(CodePage::byteFor(0x2122), 0x99);
    }

    void uncarriableTextIsRefusedNotAltered()
    {
        const QString text = QStringLiteral("ab\u20ACc\u0416d"); // euro fits, Cyrillic Zhe does not
        bool ok = true;
        qsizetype bad = 0;
        QVERIFY(CodePage::fromUnicode(text, &ok, &bad).isEmpty());
        QVERIFY(!ok);
        QCOMPARE(bad, qsizetype(4));
        QVERIFY(!CodePage::canEncode(text));
        QVERIFY(CodePage::canEncode(QStringLiteral("ab\u20ACc")));
        // C1 controls that Windows-1252 replaced with printable characters have no byte.
        QCOMPARE(CodePage::byteFor(0x0080), -1);
    }

    void wipeClearsOwnedBuffer()
    {
        QByteArray secret("password");
        char *data = secret.data();
        const qsizetype size = secret.size();
        QByteArray keep = secret; // shared: the wipe must not change this copy
        SecureMemory::wipe(secret);
        QVERIFY(secret.isEmpty());
        QCOMPARE(keep, QByteArray("password"));
        QByteArray owned(size, 'x');
        data = owned.data();
        SecureMemory::wipe(data, std::size_t(size));
        QCOMPARE(owned, QByteArray(size, '\0'));
    }
};

VAULTBASE_TEST(CodePageTest)
#include "CodePageTest.moc"
