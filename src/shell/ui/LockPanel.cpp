#include "LockPanel.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

LockPanel::LockPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PnlLock"));
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("ImgBack"));
    m_picture->setAlignment(Qt::AlignCenter);
    m_button = new QPushButton(QStringLiteral("Password"), this);
    m_button->setObjectName(QStringLiteral("BtnPassword"));
    m_button->setDefault(true);
    connect(m_button, &QPushButton::clicked, this, &LockPanel::passwordRequested);
}

void LockPanel::setPicture(const QIcon &picture)
{
    m_icon = picture;
    placeChildren();
}

void LockPanel::clearPicture()
{
    m_icon = QIcon();
    m_picture->clear();
}

void LockPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeChildren();
}

void LockPanel::placeChildren()
{
    m_picture->setGeometry(rect());
    if (!m_icon.isNull()) {
        const int side = std::min(width(), height()) * 4 / 5;
        m_picture->setPixmap(m_icon.pixmap(QSize(side, side), devicePixelRatioF()));
    }
    m_button->adjustSize();
    // Room for a long translated caption and a large font.
    const QSize size = m_button->sizeHint().expandedTo(QSize(fontMetrics().horizontalAdvance(m_button->text()) + 48,
                                                             fontMetrics().height() * 2));
    m_button->resize(size);
    m_button->move((width() - size.width()) / 2, (height() - size.height()) / 2);
    m_button->raise();
}
