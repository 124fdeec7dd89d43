#include "FileDropFilter.h"

#include "document/ClipboardFormat.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

FileDropFilter::FileDropFilter(QWidget *window) : QObject(window), m_window(window)
{
    window->setAcceptDrops(true);
    // Drag events go to the widget under the mouse; only these three are looked at.
    qApp->installEventFilter(this);
}

FileDropFilter::~FileDropFilter()
{
    qApp->removeEventFilter(this);
}

QStringList FileDropFilter::localFiles(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->hasFormat(QLatin1String(ClipboardFormat::MimeType))) {
        return {};
    }
    QStringList paths;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        paths.append(url.toLocalFile());
    }
    return paths;
}

bool FileDropFilter::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return false;
    }
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != m_window) {
        return false;
    }
    auto *drop = static_cast<QDropEvent *>(event);
    const QStringList paths = localFiles(drop->mimeData());
    if (paths.isEmpty()) {
        return false;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        QTimer::singleShot(0, this, [this, paths] { emit filesDropped(paths); });
    }
    return true;
}
