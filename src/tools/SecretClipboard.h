#pragma once

#include <QObject>
#include <QString>

class QClipboard;
class QTimer;

// The program's copies of secrets (passwords, user names, generated passwords). Each
// copy carries the hint that tells clipboard histories to skip it, and is cleared from
// the clipboard and the selection after a delay, or at exit, but only while the
// clipboard still holds exactly that copy: what the user copied since is never touched.
class SecretClipboard : public QObject
{
    Q_OBJECT

public:
    // The MIME format clipboard histories look for, and its value for secrets.
    static constexpr const char *HintFormat = "x-kde-passwordManagerHint";
    static constexpr const char *HintSecret = "secret";

    explicit SecretClipboard(QClipboard *clipboard, QObject *parent = nullptr);
    ~SecretClipboard() override;

    // Seconds from a copy until it is cleared; 0 or less: never.
    void setClearSeconds(int seconds);
    int clearSeconds() const { return m_seconds; }

    void copy(const QString &text);
    // True while the clipboard or the selection still holds the last copy.
    bool holdsOurCopy() const;
    // Clears the last copy from wherever it still is, and forgets it.
    void clearIfUnchanged();

    // Runs from a copy until the delay has passed (tests trigger its end directly).
    QTimer &timer() { return *m_timer; }

signals:
    // The delay after a copy passed; wasHeld: the copy was still there, and is cleared.
    void expired(bool wasHeld);

private:
    bool holdsOurCopy(int mode) const;
    void forget();

    QClipboard *m_clipboard;
    QTimer *m_timer;
    QString m_copied;
    int m_seconds = 20;
};
