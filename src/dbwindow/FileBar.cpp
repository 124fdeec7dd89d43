#include "FileBar.h"

#include "platform/CodePage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

FileBar::FileBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PnlFile"));
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("LblFileCaption"));
    m_caption->setTextFormat(Qt::PlainText);
    // A long file name is cut on the right, never pushing the buttons away.
    m_caption->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_btnView = new QPushButton(QStringLiteral("View"), this);
    m_btnView->setObjectName(QStringLiteral("BtnView"));
    m_btnSave = new QPushButton(QStringLiteral("Save"), this);
    m_btnSave->setObjectName(QStringLiteral("BtnSave"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 0, 2);
    layout->setSpacing(6);
    layout->addWidget(m_caption, 1);
    layout->addWidget(m_btnView);
    layout->addWidget(m_btnSave);
    connect(m_btnView, &QPushButton::clicked, this, &FileBar::viewClicked);
    connect(m_btnSave, &QPushButton::clicked, this, &FileBar::saveClicked);
}

QByteArray FileBar::caption(const QByteArray &fileName, qint32 blobSize)
{
    return fileName + " [" + QByteArray::number(blobSize >> 10) + " KB]";
}

void FileBar::showFile(const QByteArray &fileName, qint32 blobSize)
{
    const QString text = CodePage::toUnicode(caption(fileName, blobSize));
    m_caption->setText(text);
    m_caption->setToolTip(text);
}

QString FileBar::captionText() const
{
    return m_caption->text();
}

void FileBar::updateHeight(int fontHeight)
{
    setMinimumHeight(std::max(32, fontHeight + 10));
}
