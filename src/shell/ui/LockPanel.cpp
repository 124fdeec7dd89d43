#include "LockPanel.h"

#include <QLabel>
#include <QPushButton>

LockPanel::LockPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PnlLock"));
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("ImgBack"));
    m_picture->setScaledContents(true);
    m_button = new QPushButton(QStringLiteral("Password"), this);
    m_button->setObjectName(QStringLiteral("BtnPassword"));
    m_button->setDefault(true);
    connect(m_button, &QPushButton::clicked, this, &LockPanel::passwordRequested);
}

void LockPanel::setPicture(const QPixmap &picture)
{
    m_picture->setPixmap(picture);
}

void LockPanel::clearPicture()
{
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
    m_button->adjustSize();
    // Room for a long translated caption and a large font.
    const QSize size = m_button->sizeHint().expandedTo(QSize(fontMetrics().horizontalAdvance(m_button->text()) + 48,
                                                             fontMetrics().height() * 2));
    m_button->resize(size);
    m_button->move((width() - size.width()) / 2, (height() - size.height()) / 2);
    m_button->raise();
}
