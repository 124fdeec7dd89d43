#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Answers for the modal dialogs of widget tests. A dialog's own event loop blocks the test
// while it shows, so an answerer polls from a timer until a modal dialog it answers is up
// and acts on it there.
//
// Every answerer is bounded, so none can outlive its test and act on another test's dialog
// or write into its dead locals:
// - it expires when the dialogs it expects have not all come within timeoutMs() (since it
//   was made or last answered), or when the last dialog it answered is still up that long
//   after: the test fails, and the modal dialog holding it is closed so it does not hang;
// - finishModalAnswers(), called from every test class's cleanup(), deletes the answerers
//   still there and fails the test for each that did not see every dialog it expected.
namespace vaultbase::test {

class ModalAnswerer final : public QObject
{
public:
    // Gets the active modal widget; true when it answered it.
    using Answer = std::function<bool(QWidget *modal)>;

    // Answers up to limit dialogs (-1: every one until it goes) and expects at least
    // expected of them.
    ModalAnswerer(QString what, Answer answer, int expected, int limit, int intervalMs = 5)
        : m_what(std::move(what)), m_answer(std::move(answer)), m_expected(expected), m_limit(limit)
    {
        live().append(this);
        m_age.start();
        m_poll.setInterval(intervalMs);
        connect(&m_poll, &QTimer::timeout, this, &ModalAnswerer::poll);
        m_poll.start();
    }

    ~ModalAnswerer() override { live().removeAll(this); }

    int answered() const { return m_answered; }
    bool expectationMet() const { return m_answered >= m_expected; }

    // Deletes the answerer; the running test fails when a dialog it expected never came.
    void finish()
    {
        m_poll.stop();
        if (!expectationMet() && !m_expired && !QTest::currentTestFailed()) {
            fail("never appeared");
        }
        delete this;
    }

    // How long an answerer waits for a dialog it expects: VAULTBASE_ANSWER_TIMEOUT_MS, else
    // 30 seconds (valgrind runs need more).
    static int timeoutMs()
    {
        bool ok = false;
        const int set = qEnvironmentVariableIntValue("VAULTBASE_ANSWER_TIMEOUT_MS", &ok);
        return ok && set > 0 ? set : 30000;
    }

    static QList<ModalAnswerer *> &live()
    {
        static QList<ModalAnswerer *> all;
        return all;
    }

private:
    bool limitReached() const { return m_limit >= 0 && m_answered >= m_limit; }

    void poll()
    {
        if (m_busy) {
            return;
        }
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && !modal->isVisible()) {
            modal = nullptr;
        }
        if (limitReached()) {
            // Done: the dialog answered last has to go, or the test would wait in it.
            if (m_lastAnswered.isNull() || modal != m_lastAnswered) {
                m_poll.stop();
            } else if (m_age.elapsed() > timeoutMs()) {
                expire("stayed open after its answer");
            }
            return;
        }
        if (modal) {
            // An answer may run event loops of its own: no second answer from in there.
            m_busy = true;
            const bool answered = m_answer(modal);
            m_busy = false;
            if (answered) {
                ++m_answered;
                m_lastAnswered = modal;
                m_age.restart();
                return;
            }
        }
        if (!expectationMet() && m_age.elapsed() > timeoutMs()) {
            expire("did not appear in time");
        }
    }

    void expire(const char *how)
    {
        m_poll.stop();
        m_expired = true;
        fail(how);
        // Whatever holds the test in its loop goes, so the test can end.
        if (QWidget *modal = QApplication::activeModalWidget()) {
            if (auto *dialog = qobject_cast<QDialog *>(modal)) {
                dialog->reject();
            } else {
                modal->close();
            }
        }
    }

    void fail(const char *how) const
    {
        const QByteArray message = "Expected dialog " + m_what.toUtf8() + ' ' + how + " (answered "
            + QByteArray::number(m_answered) + " of " + QByteArray::number(m_expected) + ')';
        QTest::qFail(message.constData(), __FILE__, __LINE__);
    }

    QString m_what;
    Answer m_answer;
    int m_expected;
    int m_limit;
    int m_answered = 0;
    bool m_busy = false;
    bool m_expired = false;
    QPointer<QWidget> m_lastAnswered;
    QTimer m_poll;
    QElapsedTimer m_age;
};

// For cleanup(): ends every answerer still there, failing the test for the dialogs that
// never came.
inline void finishModalAnswers()
{
    const QList<ModalAnswerer *> all = ModalAnswerer::live();
    for (ModalAnswerer *answerer : all) {
        answerer->finish();
    }
}

// Between test classes: ends any answerer a class without cleanup() left behind, silently.
inline void discardModalAnswers()
{
    const QList<ModalAnswerer *> all = ModalAnswerer::live();
    qDeleteAll(all);
}

// Runs action once on the next modal dialog of type D; the test fails when none comes.
template <typename D>
ModalAnswerer *whenModal(std::function<void(D *)> action, int intervalMs = 5)
{
    return new ModalAnswerer(
        QString::fromLatin1(D::staticMetaObject.className()),
        [action](QWidget *modal) {
            auto *dialog = qobject_cast<D *>(modal);
            if (!dialog) {
                return false;
            }
            action(dialog);
            return true;
        },
        1, 1, intervalMs);
}

} // namespace vaultbase::test
