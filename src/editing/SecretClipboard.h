#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>

class QClipboard;

// A secret on the clipboard for a while: it carries the hint that tells clipboard
// managers not to keep it, and when the delay is over it is cleared, but only when the
// clipboard still holds it (whatever was copied since stays).
class SecretClipboard : public QObject
{
    Q_OBJECT

public:
    // The MIME type of the hint and its value.
    static constexpr char HintType[] = "x-kde-passwordManagerHint";
    static constexpr char HintValue[] = "secret";

    explicit SecretClipboard(QClipboard *clipboard, QObject *parent = nullptr);
    ~SecretClipboard() override;

    void copy(const QString &text, std::chrono::milliseconds clearAfter);
    // True while the clipboard holds the secret copied last.
    bool holdsSecret() const;

signals:
    // The delay is over; wasHeld tells whether the secret was still there to clear.
    void expired(bool wasHeld);

private:
    void expire();
    void forget();

    QClipboard *m_clipboard;
    QTimer m_timer;
    QString m_text;
};
