#include "ElementTreeModel.h"

#include "document/ElementTree.h"
#include "platform/CodePage.h"

#include <QPixmap>

ElementTreeModel::ElementTreeModel(ElementTree &tree, QObject *parent)
    : QAbstractItemModel(parent), m_tree(tree)
{
    m_tree.setObserver(this);
}

ElementTreeModel::~ElementTreeModel()
{
    if (m_tree.observer() == this) {
        m_tree.setObserver(nullptr);
    }
}

void ElementTreeModel::setIcons(IconSet icons)
{
    // A folder shows the open folder while it is selected: one icon with both states.
    if (icons.size() > KindOpenFolder) {
        QIcon folder;
        const QIcon closed = icons[KindFolder];
        const QIcon open = icons[KindOpenFolder];
        for (const int size : {16, 24, 32, 48}) {
            folder.addPixmap(closed.pixmap(size, size), QIcon::Normal);
            folder.addPixmap(open.pixmap(size, size), QIcon::Selected);
        }
        icons[KindFolder] = folder;
    }
    // The view repaints with its new icon size; no row changes.
    m_icons = std::move(icons);
}

QIcon ElementTreeModel::iconFor(qint32 code) const
{
    return code >= 0 && code < m_icons.size() ? m_icons[code] : QIcon();
}

ElementNode *ElementTreeModel::nodeOf(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this) {
        return nullptr;
    }
    return static_cast<ElementNode *>(index.internalPointer());
}

QModelIndex ElementTreeModel::indexOf(const ElementNode *node) const
{
    if (!node) {
        return {};
    }
    return createIndex(node->row(), 0, const_cast<ElementNode *>(node));
}

QModelIndex ElementTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0) {
        return {};
    }
    const ElementNode *parentNode = nodeOf(parent);
    if (parent.isValid() && !parentNode) {
        return {};
    }
    ElementNode *node = m_tree.childAt(parentNode, row);
    return node ? createIndex(row, 0, node) : QModelIndex();
}

QModelIndex ElementTreeModel::parent(const QModelIndex &child) const
{
    const ElementNode *node = nodeOf(child);
    return node ? indexOf(node->parent()) : QModelIndex();
}

int ElementTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0) {
        return 0;
    }
    if (!parent.isValid()) {
        return m_tree.childCount(nullptr);
    }
    const ElementNode *node = nodeOf(parent);
    return node ? node->childCount() : 0;
}

int ElementTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

bool ElementTreeModel::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0;
}

QVariant ElementTreeModel::data(const QModelIndex &index, int role) const
{
    const ElementNode *node = nodeOf(index);
    if (!node) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return CodePage::toUnicode(node->name());
    case Qt::DecorationRole:
        return iconFor(node->kind());
    default:
        return {};
    }
}

bool ElementTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    ElementNode *node = nodeOf(index);
    if (!node || role != Qt::EditRole || !m_rename) {
        return false;
    }
    bool ok = false;
    const QByteArray name = CodePage::fromUnicode(value.toString(), &ok);
    if (!ok) {
        return false;
    }
    // The handler renames through the tree, which reports the change back here.
    return m_rename(node, name);
}

Qt::ItemFlags ElementTreeModel::flags(const QModelIndex &index) const
{
    if (!nodeOf(index)) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void ElementTreeModel::elementAboutToBeInserted(const ElementNode *parent, int row)
{
    beginInsertRows(indexOf(parent), row, row);
}

void ElementTreeModel::elementInserted(const ElementNode *)
{
    endInsertRows();
}

void ElementTreeModel::elementAboutToBeRemoved(const ElementNode *node)
{
    beginRemoveRows(indexOf(node->parent()), node->row(), node->row());
}

void ElementTreeModel::elementRemoved(const ElementNode *, int)
{
    endRemoveRows();
}

void ElementTreeModel::childrenAboutToBeReordered(const ElementNode *parent)
{
    const QPersistentModelIndex parentIndex(indexOf(parent));
    emit layoutAboutToBeChanged({parentIndex}, QAbstractItemModel::VerticalSortHint);
    // Only the indexes among these children move; the nodes tell where they went.
    m_movingIndexes.clear();
    m_movingNodes.clear();
    const QModelIndexList persistent = persistentIndexList();
    for (const QModelIndex &index : persistent) {
        const ElementNode *node = nodeOf(index);
        if (node && node->parent() == parent) {
            m_movingIndexes.append(index);
            m_movingNodes.append(node);
        }
    }
}

void ElementTreeModel::childrenReordered(const ElementNode *parent)
{
    for (qsizetype i = 0; i < m_movingIndexes.size(); ++i) {
        changePersistentIndex(m_movingIndexes[i], indexOf(m_movingNodes[i]));
    }
    m_movingIndexes.clear();
    m_movingNodes.clear();
    emit layoutChanged({QPersistentModelIndex(indexOf(parent))}, QAbstractItemModel::VerticalSortHint);
}

void ElementTreeModel::elementChanged(const ElementNode *node)
{
    const QModelIndex index = indexOf(node);
    emit dataChanged(index, index);
}

void ElementTreeModel::treeAboutToBeReset()
{
    beginResetModel();
}

void ElementTreeModel::treeReset()
{
    endResetModel();
}
