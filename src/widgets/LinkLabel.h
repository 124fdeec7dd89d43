#pragma once

#include <QLabel>

// A label that acts as a link: the palette's link colour, underlined, a hand cursor, and
// clicked() on a left click or on Space or Enter when it has the keyboard focus (it
// takes the focus by Tab). Its text is plain, so the language applier sets it like any
// label.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    explicit LinkLabel(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
