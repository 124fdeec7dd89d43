#include "SecretClipboard.h"

#include "platform/SecureMemory.h"

#include <QClipboard>
#include <QMimeData>

SecretClipboard::SecretClipboard(QClipboard *clipboard, QObject *parent) : QObject(parent), m_clipboard(clipboard)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SecretClipboard::expire);
}

SecretClipboard::~SecretClipboard()
{
    forget();
}

void SecretClipboard::copy(const QString &text, std::chrono::milliseconds clearAfter)
{
    forget();
    m_text = text;
    auto *data = new QMimeData;
    data->setText(text);
    data->setData(QLatin1StringView(HintType), QByteArray(HintValue));
    m_clipboard->setMimeData(data);
    m_timer.start(clearAfter);
}

bool SecretClipboard::holdsSecret() const
{
    const QMimeData *data = m_clipboard->mimeData();
    return !m_text.isNull() && data && data->hasFormat(QLatin1StringView(HintType)) && data->text() == m_text;
}

void SecretClipboard::expire()
{
    const bool held = holdsSecret();
    if (held) {
        m_clipboard->clear();
    }
    forget();
    emit expired(held);
}

void SecretClipboard::forget()
{
    if (!m_text.isEmpty() && m_text.isDetached()) {
        SecureMemory::wipe(m_text.data(), size_t(m_text.size()) * sizeof(QChar));
    }
    m_text = QString();
}
