#pragma once

#include <QIcon>
#include <QWidget>

class QLabel;
class QPushButton;

// What the locked program shows in place of its databases: the program's picture as large
// as the panel allows (ImgBack; drawn at that size, so it stays sharp and keeps its shape)
// and the button that asks for the password again (BtnPassword), kept in the centre at
// every size.
class LockPanel : public QWidget
{
    Q_OBJECT

public:
    explicit LockPanel(QWidget *parent = nullptr);

    void setPicture(const QIcon &picture);
    void clearPicture();
    QPushButton *passwordButton() const { return m_button; }
    // The picture over the whole panel, the button in its centre, sized for its caption.
    void placeChildren();

signals:
    void passwordRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QIcon m_icon;
    QLabel *m_picture;
    QPushButton *m_button;
};
