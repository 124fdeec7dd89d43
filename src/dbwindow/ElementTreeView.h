#pragma once

#include "editing/ElementDrop.h"

#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeView>

#include <functional>

class ElementNode;
class ElementTreeModel;
class QMenu;
class QMimeData;

// TrvTree: the view of the element tree. Names are edited in place (a slow second click,
// F2 through "Change name", or right after an add) with an editor that refuses what a
// name cannot hold. Ctrl+C, Ctrl+X, Ctrl+V and Del ask for the element commands (never
// while a name is edited), a double click on a file element views it, a right click
// shows the pop-up menu. Rows are all one height, so a tree of 100,000 elements scrolls
// without measuring each.
//
// Drag and drop: a left press with Ctrl starts a drag that moves the element pressed,
// with Shift one that copies it (Shift wins). The drag carries what the drag source
// makes of the element; the drop handler decides and does what a drop does, in this
// tree or in the tree of another database window.
class ElementTreeView final : public QTreeView
{
    Q_OBJECT

public:
    // The data a drag of node carries; null starts no drag.
    using DragSource = std::function<QMimeData *(ElementNode *node)>;
    // Does a drop of mime on target (null: below the elements, the top level) in the
    // mode of the drag; dragged is the element dragged when it lies in this tree, else
    // null. Returns what was done (MoveAction, CopyAction) or IgnoreAction when refused.
    using DropHandler = std::function<Qt::DropAction(const QMimeData *mime, ElementNode *target,
                                                     ElementDrop::Mode mode, ElementNode *dragged)>;

    explicit ElementTreeView(QWidget *parent = nullptr);

    void setElementModel(ElementTreeModel *model);
    ElementTreeModel *elementModel() const { return m_model; }
    void setPopupMenu(QMenu *menu) { m_popup = menu; }
    void setDragSource(DragSource source) { m_dragSource = std::move(source); }
    void setDropHandler(DropHandler handler) { m_dropHandler = std::move(handler); }

    // Starts in-place editing of node's name.
    bool editName(const ElementNode *node);
    bool isEditingName() const { return state() == QAbstractItemView::EditingState; }
    // Ends an open name edit the way Enter would: the typed name goes to the model.
    void commitNameEditor();

signals:
    void copyRequested();
    void cutRequested();
    void pasteRequested();
    void deleteRequested();
    void fileActivated(ElementNode *node);
    // The in-place name editor was made: the window puts the name rule on it.
    void nameEditorCreated(QLineEdit *editor);
    // A moving drag of node ended in another tree, which took it: the source removes it.
    void movedAway(ElementNode *node);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void dragElement(const QModelIndex &index, ElementDrop::Mode mode);
    ElementNode *draggedHere(const QDropEvent *event) const;
    static ElementDrop::Mode modeOf(const QDropEvent *event);
    void setDropIndex(const QModelIndex &index);

    ElementTreeModel *m_model = nullptr;
    QMenu *m_popup = nullptr;
    // The in-place name editor while one is open.
    QPointer<QLineEdit> m_nameEditor;
    DragSource m_dragSource;
    DropHandler m_dropHandler;
    // The element of the drag this view started, while it runs.
    QPersistentModelIndex m_dragging;
    bool m_droppedHere = false;
    // The element a drop would land on, outlined while a drag hovers over it.
    QPersistentModelIndex m_dropIndex;
};
