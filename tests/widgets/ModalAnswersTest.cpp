#include "ModalAnswers.h"
#include "TestRegistry.h"

#include <QMessageBox>

using namespace vaultbase::test;

// The answerers of modal dialogs are bounded: one whose dialog never came fails its test,
// and one that waits too long closes the dialog holding the test and fails it.
class ModalAnswersTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { finishModalAnswers(); }

    void anAnswerWhoseDialogNeverCameFailsTheTest()
    {
        whenModal<QMessageBox>([](QMessageBox *box) { box->accept(); });
        QCOMPARE(ModalAnswerer::live().size(), 1);
        QEXPECT_FAIL("", "no message box was shown", Continue);
        finishModalAnswers();
        QVERIFY(ModalAnswerer::live().isEmpty());
    }

    void anExpiredAnswerClosesTheDialogThatHoldsTheTest_data()
    {
        QTest::addColumn<bool>("matches");
        QTest::newRow("another dialog came instead") << false;
        QTest::newRow("the dialog answered stayed open") << true;
    }

    void anExpiredAnswerClosesTheDialogThatHoldsTheTest()
    {
        QFETCH(bool, matches);
        qputenv("VAULTBASE_ANSWER_TIMEOUT_MS", "100");
        if (matches) {
            whenModal<QDialog>([](QDialog *) {});
        } else {
            whenModal<QMessageBox>([](QMessageBox *box) { box->accept(); });
        }
        QDialog held;
        QEXPECT_FAIL("", "the answerer expires", Continue);
        const int result = held.exec();
        qunsetenv("VAULTBASE_ANSWER_TIMEOUT_MS");
        QCOMPARE(result, int(QDialog::Rejected));
    }
};

VAULTBASE_TEST(ModalAnswersTest)
#include "ModalAnswersTest.moc"
