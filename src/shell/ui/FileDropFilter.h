#pragma once

#include <QObject>
#include <QStringList>

class QMimeData;
class QWidget;

// Files dragged onto any part of one window, editors included, are the window's: the
// filter accepts drags of local files and reports the files of a drop once the drop
// has ended (what follows may open dialogs). Elements dragged inside a database window
// carry the tree's clipboard format and pass untouched.
class FileDropFilter : public QObject
{
    Q_OBJECT

public:
    explicit FileDropFilter(QWidget *window);
    ~FileDropFilter() override;

    // The local files a drag carries; nothing when it carries anything else.
    static QStringList localFiles(const QMimeData *data);

signals:
    void filesDropped(const QStringList &paths);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
};
