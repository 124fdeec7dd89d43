#include "TestRegistry.h"

#include "shell/LanguageStore.h"
#include "tools/PasswordRisks.h"

#include <QTest>

class PasswordRisksTest : public QObject
{
    Q_OBJECT

private slots:
    void linesInOrderWithLineEnds_data()
    {
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<QByteArray>("risks");
        QTest::newRow("empty") << QByteArray() << QByteArray("- Password is not set yet.");
        QTest::newRow("three lowercase") << QByteArray("abc")
                                         << QByteArray("- length is less than 8 characters\r\n"
                                                       "- no numbers\r\n"
                                                       "- no non alphanumeric characters (e.g. #,@,$)\r\n"
                                                       "- no uppercase characters\r\n");
        QTest::newRow("secure") << QByteArray("Abcdefg1!") << QByteArray("- password seems to be secure");
        QTest::newRow("no other") << QByteArray("Abcdefgh1")
                                  << QByteArray("- no non alphanumeric characters (e.g. #,@,$)\r\n");
        QTest::newRow("space is other") << QByteArray("Abcdefg1 ") << QByteArray("- password seems to be secure");
        QTest::newRow("section sign") << QByteArray("Abcdefg1\xA7") << QByteArray("- password seems to be secure");
        QTest::newRow("high byte") << QByteArray("Abcdefg1\xFF") << QByteArray("- password seems to be secure");
        QTest::newRow("brace above z") << QByteArray("Abcdefg1{") << QByteArray("- password seems to be secure");
        QTest::newRow("only digits, 8") << QByteArray("12345678")
                                        << QByteArray("- no non alphanumeric characters (e.g. #,@,$)\r\n"
                                                      "- no uppercase characters\r\n"
                                                      "- no lowercase characters\r\n");
        // Bytes next to the class borders: @ [ ` { / : are all other characters.
        QTest::newRow("borders") << QByteArray("@[`{/:")
                                 << QByteArray("- length is less than 8 characters\r\n"
                                               "- no numbers\r\n"
                                               "- no uppercase characters\r\n"
                                               "- no lowercase characters\r\n");
        QTest::newRow("one NUL byte") << QByteArray(1, '\0')
                                      << QByteArray("- length is less than 8 characters\r\n"
                                                    "- no numbers\r\n"
                                                    "- no uppercase characters\r\n"
                                                    "- no lowercase characters\r\n");
    }

    void linesInOrderWithLineEnds()
    {
        QFETCH(QByteArray, password);
        QFETCH(QByteArray, risks);
        LanguageStore english;
        QCOMPARE(passwordRisks(password, english), risks);
    }

    void textsComeFromTheCurrentLanguage()
    {
        LanguageStore store;
        store.loadFromText("FrmProp.m_aMPwdNumbers=\"- keine Zahlen\"\r\n"
                           "FrmProp.m_aMPwdSecure=\"- sicher\"\r\n"
                           "FrmProp.m_aMPwdLength=\"\"\r\n");
        QCOMPARE(passwordRisks("Abcdefgh!", store), QByteArray("- keine Zahlen\r\n"));
        QCOMPARE(passwordRisks("Abcdefg1!", store), QByteArray("- sicher"));
        // An empty text keeps the English line.
        QCOMPARE(passwordRisks("Ab1!", store), QByteArray("- length is less than 8 characters\r\n"));
    }
};

VAULTBASE_TEST(PasswordRisksTest)
#include "PasswordRisksTest.moc"
