#pragma once

#include "document/ElementTreeObserver.h"

#include <QAbstractItemModel>
#include <QByteArray>
#include <QIcon>
#include <QList>

#include <functional>

class ElementNode;
class ElementTree;

// The one adapter through which the tree view shows an ElementTree. It owns nothing: every
// index points at an ElementNode, which knows its parent and its row, so no lookup walks
// the tree. The tree reports each change as it happens (ElementTreeObserver) and the
// adapter passes it on in the form views expect.
//
// Editing a name in the view goes to the rename handler, which decides (the duplicate
// check, messages) and changes the tree itself; the adapter never renames on its own.
class ElementTreeModel final : public QAbstractItemModel, private ElementTreeObserver
{
    Q_OBJECT

public:
    // Icons per kind code; index KindOpenFolder is the open folder shown while selected.
    using IconSet = QList<QIcon>;
    using RenameHandler = std::function<bool(ElementNode *node, const QByteArray &name)>;

    explicit ElementTreeModel(ElementTree &tree, QObject *parent = nullptr);
    ~ElementTreeModel() override;

    ElementTree &tree() const { return m_tree; }

    void setIcons(IconSet icons);
    QIcon iconFor(qint32 code) const;
    void setRenameHandler(RenameHandler handler) { m_rename = std::move(handler); }

    ElementNode *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(const ElementNode *node) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void elementAboutToBeInserted(const ElementNode *parent, int row) override;
    void elementInserted(const ElementNode *node) override;
    void elementAboutToBeRemoved(const ElementNode *node) override;
    void elementRemoved(const ElementNode *parent, int row) override;
    void childrenAboutToBeReordered(const ElementNode *parent) override;
    void childrenReordered(const ElementNode *parent) override;
    void elementChanged(const ElementNode *node) override;
    void treeAboutToBeReset() override;
    void treeReset() override;

    ElementTree &m_tree;
    IconSet m_icons;
    RenameHandler m_rename;
    // Persistent indexes among the children being reordered, with the node each names.
    QModelIndexList m_movingIndexes;
    QList<const ElementNode *> m_movingNodes;
};
