#pragma once

#include "ElementData.h"
#include "NameIndex.h"

#include <QByteArray>

#include <memory>
#include <vector>

class ElementTree;

// One element of a database: its name (unique among its siblings), kind code, selected
// code, its own ElementData and its children in sibling order. Nodes are made, renamed,
// moved and deleted only through their ElementTree, which keeps the name index and the
// order; the data may be changed directly.
class ElementNode
{
public:
    ~ElementNode();
    ElementNode(const ElementNode &) = delete;
    ElementNode &operator=(const ElementNode &) = delete;

    const QByteArray &name() const { return m_name; }
    qint32 kind() const { return m_kind; }
    qint32 selectedCode() const { return m_selected; }
    bool isFolder() const { return m_kind == KindFolder; }

    ElementData &data() { return m_data; }
    const ElementData &data() const { return m_data; }

    // Null for a top-level element.
    ElementNode *parent() const { return m_parent && m_parent->m_parent ? m_parent : nullptr; }
    // Position among the siblings.
    int row() const { return m_row; }
    int childCount() const { return int(m_children.size()); }
    ElementNode *child(int row) const;
    ElementNode *firstChild() const { return child(0); }
    ElementNode *nextSibling() const;
    ElementNode *previousSibling() const;

    // Ask the processor to fetch the element, or its name and texts, ahead of use: a walk
    // over many elements meets them scattered in memory. The texts' addresses are in the
    // element, so it is fetched a step before them.
    void prefetch() const
    {
        const auto *bytes = reinterpret_cast<const char *>(this);
        for (size_t offset = 0; offset < sizeof(ElementNode); offset += 64) {
            __builtin_prefetch(bytes + offset);
        }
    }
    void prefetchTexts() const
    {
        for (const QByteArray *text : {&m_name, &m_data.Content, &m_data.Detail, &m_data.Comment, &m_data.Created,
                                       &m_data.Modified}) {
            __builtin_prefetch(text->constData());
        }
    }

private:
    friend class ElementTree;

    ElementNode(QByteArray &&name, qint32 kind, qint32 selected, ElementData &&data);

    QByteArray m_name;
    qint32 m_kind = KindFolder;
    qint32 m_selected = KindOpenFolder;
    ElementData m_data;
    // The tree's hidden root for top-level elements; null only for that root.
    ElementNode *m_parent = nullptr;
    std::vector<std::unique_ptr<ElementNode>> m_children;
    NameIndex m_childIndex; // the children by name; kept by the tree
    int m_row = 0;
    // Children were added or renamed while the tree's sorting was off.
    bool m_childrenUnsorted = false;
    // Meanwhile, the directions of the steps between neighbouring children, and how many
    // children there were before (the ones from there on were appended).
    enum : quint8 { StepsUp = 1, StepsDown = 2, StepsEqual = 4 };
    quint8 m_appendSteps = 0;
    int m_appendedFrom = 0;
};
