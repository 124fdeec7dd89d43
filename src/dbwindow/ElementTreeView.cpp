#include "ElementTreeView.h"

#include "ElementTreeModel.h"
#include "document/ElementNode.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QStyledItemDelegate>

namespace {

// Reports each in-place name editor it makes, so the window can guard it.
class NameDelegate final : public QStyledItemDelegate
{
public:
    explicit NameDelegate(ElementTreeView *view) : QStyledItemDelegate(view), m_view(view) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor)) {
            emit m_view->nameEditorCreated(line);
        }
        return editor;
    }

private:
    ElementTreeView *m_view;
};

} // namespace

ElementTreeView::ElementTreeView(QWidget *parent) : QTreeView(parent)
{
    setObjectName(QStringLiteral("TrvTree"));
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setIndentation(19);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setItemDelegate(new NameDelegate(this));
    setExpandsOnDoubleClick(true);
    header()->setStretchLastSection(true);
}

void ElementTreeView::setElementModel(ElementTreeModel *model)
{
    m_model = model;
    setModel(model);
}

bool ElementTreeView::editName(const ElementNode *node)
{
    const QModelIndex index = m_model ? m_model->indexOf(node) : QModelIndex();
    if (!index.isValid()) {
        return false;
    }
    scrollTo(index);
    setFocus(Qt::OtherFocusReason);
    edit(index);
    return isEditingName();
}

void ElementTreeView::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
    if (event->key() == Qt::Key_Delete && modifiers == Qt::NoModifier && !isEditingName()) {
        event->accept();
        emit deleteRequested();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void ElementTreeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    ElementNode *node = m_model ? m_model->nodeOf(index) : nullptr;
    if (node && node->kind() == KindFile) {
        event->accept();
        emit fileActivated(node);
        return;
    }
    QTreeView::mouseDoubleClickEvent(event);
}

void ElementTreeView::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_popup) {
        return;
    }
    // A right click selects what it points at first, as the pop-up's commands act on it.
    const QModelIndex index = indexAt(event->pos());
    if (index.isValid() && event->reason() == QContextMenuEvent::Mouse) {
        setCurrentIndex(index);
    }
    m_popup->exec(event->globalPos());
}
