#include "DrawnIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace {

class DrawnIconEngine : public QIconEngine
{
public:
    DrawnIconEngine(QIcon base, IconPainter emblem) : m_base(std::move(base)), m_draw(std::move(emblem)) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->save();
        if (mode == QIcon::Disabled) {
            painter->setOpacity(0.4);
        }
        if (!m_base.isNull()) {
            m_base.paint(painter, rect, Qt::AlignCenter, mode, state);
        }
        painter->setRenderHint(QPainter::Antialiasing);
        const qreal side = qMin(rect.width(), rect.height());
        painter->translate(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2);
        if (m_base.isNull()) {
            painter->scale(side / 16.0, side / 16.0);
        } else {
            // The emblem fills the lower right 9 x 9 of the grid.
            painter->translate(side * 7 / 16.0, side * 7 / 16.0);
            painter->scale(side / 16.0 * 9 / 16.0, side / 16.0 * 9 / 16.0);
        }
        m_draw(*painter);
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        QPixmap result = pixmap(size * scale, mode, state);
        result.setDevicePixelRatio(scale);
        return result;
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine *clone() const override { return new DrawnIconEngine(m_base, m_draw); }
    QString key() const override { return QStringLiteral("vaultbase-drawn"); }

private:
    QIcon m_base;
    IconPainter m_draw;
};

} // namespace

QIcon drawnIcon(IconPainter painter)
{
    return QIcon(new DrawnIconEngine(QIcon(), std::move(painter)));
}

QIcon withEmblem(const QIcon &base, IconPainter emblem)
{
    return QIcon(new DrawnIconEngine(base, std::move(emblem)));
}
