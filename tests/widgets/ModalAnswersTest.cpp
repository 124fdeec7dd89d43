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

    void anExpiredAnswerClosesTheDialogThatHoldsTheTest()
    {
        qputenv("VAULTBASE_ANSWER_TIMEOUT_MS", "100");
        whenModal<QMessageBox>([](QMessageBox *box) { box->accept(); });
        QDialog other;
        QEXPECT_FAIL("", "another dialog came instead of the message box", Continue);
        const int result = other.exec();
        qunsetenv("VAULTBASE_ANSWER_TIMEOUT_MS");
        QCOMPARE(result, int(QDialog::Rejected));
    }
};

VAULTBASE_TEST(ModalAnswersTest)
#include "ModalAnswersTest.moc"
