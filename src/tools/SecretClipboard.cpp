#include "SecretClipboard.h"

#include "platform/SecureMemory.h"

#include <QClipboard>
#include <QMimeData>
#include <QTimer>

namespace {

constexpr QClipboard::Mode Modes[] = {QClipboard::Clipboard, QClipboard::Selection};

QMimeData *secretData(const QString &text)
{
    auto *data = new QMimeData;
    data->setText(text);
    data->setData(QLatin1String(SecretClipboard::HintFormat), QByteArray(SecretClipboard::HintSecret));
    return data;
}

} // namespace

SecretClipboard::SecretClipboard(QClipboard *clipboard, QObject *parent)
    : QObject(parent), m_clipboard(clipboard), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        const bool held = holdsOurCopy();
        clearIfUnchanged();
        emit expired(held);
    });
}

SecretClipboard::~SecretClipboard()
{
    forget();
}

void SecretClipboard::setClearSeconds(int seconds)
{
    m_seconds = seconds;
    if (m_seconds <= 0) {
        m_timer->stop();
    }
}

void SecretClipboard::copy(const QString &text)
{
    forget();
    m_copied = text;
    for (QClipboard::Mode mode : Modes) {
        if (mode == QClipboard::Clipboard || m_clipboard->supportsSelection()) {
            m_clipboard->setMimeData(secretData(text), mode);
        }
    }
    if (m_seconds > 0) {
        m_timer->start(m_seconds * 1000);
    }
}

bool SecretClipboard::holdsOurCopy(int mode) const
{
    const auto clipboardMode = QClipboard::Mode(mode);
    if (clipboardMode == QClipboard::Selection && !m_clipboard->supportsSelection()) {
        return false;
    }
    const QMimeData *data = m_clipboard->mimeData(clipboardMode);
    return data && data->hasFormat(QLatin1String(HintFormat)) && data->text() == m_copied;
}

bool SecretClipboard::holdsOurCopy() const
{
    if (m_copied.isNull()) {
        return false;
    }
    return holdsOurCopy(QClipboard::Clipboard) || holdsOurCopy(QClipboard::Selection);
}

void SecretClipboard::clearIfUnchanged()
{
    m_timer->stop();
    if (!m_copied.isNull()) {
        for (QClipboard::Mode mode : Modes) {
            if (holdsOurCopy(mode)) {
                m_clipboard->clear(mode);
            }
        }
    }
    forget();
}

// The copy is a secret: its characters do not stay behind in freed memory (a copy shared
// with the caller is the caller's to wipe).
void SecretClipboard::forget()
{
    if (!m_copied.isEmpty() && m_copied.isDetached()) {
        SecureMemory::wipe(m_copied.data(), size_t(m_copied.size()) * sizeof(QChar));
    }
    m_copied = QString();
}
