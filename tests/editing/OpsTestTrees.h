#pragma once

#include "document/ElementTree.h"
#include "document/TreeTable.h"

#include <QByteArray>
#include <QList>

namespace vaultbase::test::ops {

inline ElementData textData(const QByteArray &content, const QByteArray &detail = {}, const QByteArray &comment = {})
{
    ElementData data;
    data.Content = content;
    data.Detail = detail;
    data.Comment = comment;
    data.Created = "2024-03-01 08:00:00";
    data.Modified = "2024-03-02 09:30:00";
    return data;
}

inline ElementNode *add(ElementTree &tree, ElementNode *parent, const QByteArray &name, qint32 kind,
                        ElementData data = textData({}))
{
    return tree.insertElement(parent, name, kind, selectedCodeFor(kind), std::move(data));
}

// The names of parent's children in sibling order, joined by "|".
inline QByteArray childNames(const ElementTree &tree, const ElementNode *parent)
{
    QList<QByteArray> names;
    for (int i = 0; i < tree.childCount(parent); ++i) {
        names.append(tree.childAt(parent, i)->name());
    }
    return names.join('|');
}

// Everything the tree holds, as a saved database would: equal trees give equal bytes.
inline QByteArray snapshot(const ElementTree &tree)
{
    return TreeTable::writeTreeBinary(tree);
}

} // namespace vaultbase::test::ops
