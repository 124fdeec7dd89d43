#pragma once

#include <QTreeView>

class ElementNode;
class ElementTreeModel;
class QLineEdit;
class QMenu;

// TrvTree: the view of the element tree. Names are edited in place (a slow second click,
// F2 through "Change name", or right after an add) with an editor that refuses what a
// name cannot hold. Del deletes, a double click on a file element views it, a right click
// shows the pop-up menu. Rows are all one height, so a tree of 100,000 elements scrolls
// without measuring each.
class ElementTreeView final : public QTreeView
{
    Q_OBJECT

public:
    explicit ElementTreeView(QWidget *parent = nullptr);

    void setElementModel(ElementTreeModel *model);
    ElementTreeModel *elementModel() const { return m_model; }
    void setPopupMenu(QMenu *menu) { m_popup = menu; }

    // Starts in-place editing of node's name.
    bool editName(const ElementNode *node);
    bool isEditingName() const { return state() == QAbstractItemView::EditingState; }

signals:
    void deleteRequested();
    void fileActivated(ElementNode *node);
    // The in-place name editor was made: the window puts the name rule on it.
    void nameEditorCreated(QLineEdit *editor);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    ElementTreeModel *m_model = nullptr;
    QMenu *m_popup = nullptr;
};
