#include "ElementTreeView.h"

#include "editing/ElementTreeModel.h"
#include "editing/TreeKeys.h"
#include "document/ClipboardFormat.h"
#include "document/ElementNode.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>

#include <utility>

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

bool carriesElements(const QMimeData *mime)
{
    return mime && mime->hasFormat(QLatin1String(ClipboardFormat::MimeType));
}

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
    // Drags start on a press with Ctrl or Shift (mousePressEvent), not by Qt's own rule.
    setDragEnabled(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    header()->setStretchLastSection(true);
    connect(this, &ElementTreeView::nameEditorCreated, this, [this](QLineEdit *editor) { m_nameEditor = editor; });
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

void ElementTreeView::commitNameEditor()
{
    QLineEdit *editor = m_nameEditor;
    if (!editor || !isEditingName()) {
        return;
    }
    commitData(editor);
    // The rename may have shown a message that closed the editor already.
    if (m_nameEditor && isEditingName()) {
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void ElementTreeView::keyPressEvent(QKeyEvent *event)
{
    switch (TreeKeys::commandFor(event->key(), event->modifiers(), isEditingName())) {
    case TreeKeys::Command::Copy: event->accept(); emit copyRequested(); return;
    case TreeKeys::Command::Cut: event->accept(); emit cutRequested(); return;
    case TreeKeys::Command::Paste: event->accept(); emit pasteRequested(); return;
    case TreeKeys::Command::Delete: event->accept(); emit deleteRequested(); return;
    case TreeKeys::Command::None: break;
    }
    // The view's own copy would put the element's name on the clipboard as text: the
    // tree copies elements or nothing.
    if (event->matches(QKeySequence::Copy)) {
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void ElementTreeView::mousePressEvent(QMouseEvent *event)
{
    const std::optional<ElementDrop::Mode> mode =
        event->button() == Qt::LeftButton ? ElementDrop::modeFor(event->modifiers()) : std::nullopt;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!mode || !index.isValid() || !m_dragSource || isEditingName()) {
        QTreeView::mousePressEvent(event);
        return;
    }
    // The element pressed is selected, then dragged at once.
    event->accept();
    setCurrentIndex(index);
    dragElement(index, *mode);
}

void ElementTreeView::dragElement(const QModelIndex &index, ElementDrop::Mode mode)
{
    QMimeData *mime = m_dragSource(m_model->nodeOf(index));
    if (!mime) {
        return;
    }
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
    if (!icon.isNull()) {
        drag->setPixmap(icon.pixmap(iconSize()));
    }
    const Qt::DropAction action = mode == ElementDrop::Mode::Move ? Qt::MoveAction : Qt::CopyAction;
    m_dragging = QPersistentModelIndex(index);
    m_droppedHere = false;
    const Qt::DropAction done = drag->exec(action, action);
    // The element may have moved or gone meanwhile; the persistent index follows it.
    const QPersistentModelIndex dragged = std::exchange(m_dragging, QPersistentModelIndex());
    if (done == Qt::MoveAction && !m_droppedHere && dragged.isValid()) {
        emit movedAway(m_model->nodeOf(dragged));
    }
}

ElementDrop::Mode ElementTreeView::modeOf(const QDropEvent *event)
{
    return event->dropAction() == Qt::MoveAction ? ElementDrop::Mode::Move : ElementDrop::Mode::Copy;
}

ElementNode *ElementTreeView::draggedHere(const QDropEvent *event) const
{
    return event->source() == this && m_dragging.isValid() ? m_model->nodeOf(m_dragging) : nullptr;
}

void ElementTreeView::dragEnterEvent(QDragEnterEvent *event)
{
    if (!m_model || !m_dropHandler || !carriesElements(event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void ElementTreeView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!m_model || !m_dropHandler || !carriesElements(event->mimeData())) {
        event->ignore();
        return;
    }
    const QPoint pos = event->position().toPoint();
    const QRect area = viewport()->rect();
    if (hasAutoScroll() && (pos.y() - area.top() < autoScrollMargin() || area.bottom() - pos.y() < autoScrollMargin())) {
        startAutoScroll();
    }
    const QModelIndex index = indexAt(pos);
    const ElementDrop::Verdict verdict = ElementDrop::decide(draggedHere(event), m_model->nodeOf(index),
                                                             modeOf(event), event->source() == this);
    if (event->source() == this && verdict == ElementDrop::Verdict::Refuse) {
        setDropIndex(QModelIndex());
        event->ignore(visualRect(index));
        return;
    }
    setDropIndex(index);
    event->acceptProposedAction();
}

void ElementTreeView::dragLeaveEvent(QDragLeaveEvent *event)
{
    stopAutoScroll();
    setDropIndex(QModelIndex());
    event->accept();
}

void ElementTreeView::dropEvent(QDropEvent *event)
{
    stopAutoScroll();
    setDropIndex(QModelIndex());
    if (!m_model || !m_dropHandler || !carriesElements(event->mimeData())) {
        event->ignore();
        return;
    }
    ElementNode *target = m_model->nodeOf(indexAt(event->position().toPoint()));
    const Qt::DropAction done = m_dropHandler(event->mimeData(), target, modeOf(event), draggedHere(event));
    if (done == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    // A drop inside this tree is complete here; the source must not remove anything.
    if (event->source() == this) {
        m_droppedHere = true;
    }
    event->setDropAction(done);
    event->accept();
}

void ElementTreeView::setDropIndex(const QModelIndex &index)
{
    if (QModelIndex(m_dropIndex) == index) {
        return;
    }
    m_dropIndex = QPersistentModelIndex(index);
    viewport()->update();
}

void ElementTreeView::paintEvent(QPaintEvent *event)
{
    QTreeView::paintEvent(event);
    if (!m_dropIndex.isValid()) {
        return;
    }
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(visualRect(m_dropIndex).adjusted(1, 1, -1, -1));
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
