#pragma once

#include <QByteArray>
#include <QWidget>

class QLabel;
class QPushButton;

// The file element's bar (PnlFile) above its description: the stored file's name and
// size, and the buttons View (BtnView) and Save (BtnSave).
class FileBar final : public QWidget
{
    Q_OBJECT

public:
    explicit FileBar(QWidget *parent = nullptr);

    // Detail + " [" + size in whole KB (bytes shifted right by 10) + " KB]".
    static QByteArray caption(const QByteArray &fileName, qint32 blobSize);

    void showFile(const QByteArray &fileName, qint32 blobSize);
    QString captionText() const;

    // At least 32 pixels high, else the font height + 10.
    void updateHeight(int fontHeight);

signals:
    void viewClicked();
    void saveClicked();

private:
    QLabel *m_caption = nullptr;
    QPushButton *m_btnView = nullptr;
    QPushButton *m_btnSave = nullptr;
};
