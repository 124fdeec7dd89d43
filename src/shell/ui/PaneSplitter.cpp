#include "PaneSplitter.h"

PaneSplitter::PaneSplitter(Qt::Orientation orientation, QWidget *parent) : QSplitter(orientation, parent)
{
    setChildrenCollapsible(false);
    connect(this, &QSplitter::splitterMoved, this, [this] {
        if (count() > 0 && widget(0)->isVisibleTo(this)) {
            m_paneSize = sizes().value(0, m_paneSize);
        }
    });
}

void PaneSplitter::setPaneSize(int size)
{
    m_paneSize = qMax(1, size);
    placeHandle();
}

void PaneSplitter::resizeEvent(QResizeEvent *event)
{
    QSplitter::resizeEvent(event);
    placeHandle();
}

void PaneSplitter::placeHandle()
{
    if (count() < 2 || !widget(0)->isVisibleTo(this)) {
        return;
    }
    const int length = orientation() == Qt::Horizontal ? width() : height();
    setSizes({m_paneSize, qMax(1, length - m_paneSize - handleWidth())});
}
