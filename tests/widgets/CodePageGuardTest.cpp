#include "TestRegistry.h"

#include "shell/LanguageStore.h"
#include "widgets/CodePageGuard.h"
#include "widgets/FileFilter.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

// Types characters QTest::keyClicks cannot (it takes Latin-1 only).
void type(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

class CodePageGuardTest : public QObject
{
    Q_OBJECT

private slots:
    void uncarriableCharactersAreRefusedWithAReason()
    {
        LanguageStore store;
        QLineEdit field;
        CodePageValidator *validator = guardCodePage(&field, store);
        QSignalSpy refused(validator, &CodePageValidator::refused);
        field.show();
        type(&field, QStringLiteral("a\u20AC\u00A7"));
        QCOMPARE(field.text(), QStringLiteral("a\u20AC\u00A7"));
        QCOMPARE(refused.count(), 0);
        type(&field, QStringLiteral("\u0416b"));
        QCOMPARE(field.text(), QStringLiteral("a\u20AC\u00A7b"));
        QCOMPARE(refused.count(), 1);
        QCOMPARE(refused.at(0).at(0).toString(), QStringLiteral("\u0416"));
        // A pasted text with one bad character is refused whole.
        QString pasted = QStringLiteral("xy\U0001F600z");
        int pos = 0;
        QCOMPARE(validator->validate(pasted, pos), QValidator::Invalid);
        QCOMPARE(refused.last().at(0).toString(), QStringLiteral("\U0001F600"));
        QVERIFY(codePageRefusal(store, QStringLiteral("\u0416")).contains(QStringLiteral("'\u0416'")));
        store.loadFromText("FrmMain.m_aMCharNotStorable=\"Zeichen '%s' geht nicht\"\r\n");
        QCOMPARE(codePageRefusal(store, QStringLiteral("\u0416")), QStringLiteral("Zeichen '\u0416' geht nicht"));
    }

    void fileFiltersInQtForm()
    {
        QCOMPARE(QtFileFilter(QStringLiteral("Password Key (*.kvky)|*.kvky")), QStringLiteral("Password Key (*.kvky)"));
        QCOMPARE(QtFileFilter(QStringLiteral("Password file(*.kvdb)|*.kvdb|All files (*.*)|*.*")),
                 QStringLiteral("Password file(*.kvdb);;All files (*)"));
        QCOMPARE(QtFileFilter(QStringLiteral("CSV|*.csv;*.txt")), QStringLiteral("CSV (*.csv *.txt)"));
        QCOMPARE(QtFileFilter(QStringLiteral("dangling")), QString());
    }
};

VAULTBASE_TEST(CodePageGuardTest)
#include "CodePageGuardTest.moc"
