#include "ElementNode.h"

#include "platform/SecureMemory.h"

ElementNode::ElementNode(QByteArray &&name, qint32 kind, qint32 selected, ElementData &&data)
    : m_name(std::move(name)), m_kind(kind), m_selected(selected), m_data(std::move(data))
{
}

ElementNode::~ElementNode()
{
    // Descendants are freed one by one from a list instead of by nested destructors, so a
    // deep tree (a hostile file can nest thousands of levels) cannot exhaust the stack.
    std::vector<std::unique_ptr<ElementNode>> pending = std::move(m_children);
    while (!pending.empty()) {
        std::unique_ptr<ElementNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto &child : node->m_children) {
            pending.push_back(std::move(child));
        }
        node->m_children.clear();
    }
    // The texts hold passwords and notes: they do not outlive the element in freed memory.
    SecureMemory::wipe(m_data.Content);
    SecureMemory::wipe(m_data.Detail);
    SecureMemory::wipe(m_data.Comment);
    if (m_data.Blob) {
        SecureMemory::wipe(*m_data.Blob);
    }
}

ElementNode *ElementNode::child(int row) const
{
    return row >= 0 && size_t(row) < m_children.size() ? m_children[size_t(row)].get() : nullptr;
}

ElementNode *ElementNode::nextSibling() const
{
    return m_parent ? m_parent->child(m_row + 1) : nullptr;
}

ElementNode *ElementNode::previousSibling() const
{
    return m_parent ? m_parent->child(m_row - 1) : nullptr;
}
