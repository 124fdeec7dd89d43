#include "DocumentCommands.h"

#include "DatabaseDocument.h"

#include "platform/SecureMemory.h"

namespace {

// Merge ids of the commands that merge.
constexpr int ChangeDataId = 1;

qint64 dataBytes(const ElementData &data)
{
    return data.Content.size() + data.Detail.size() + data.Comment.size() + (data.Blob ? data.Blob->size() : 0);
}

} // namespace

void wipeElementData(ElementData &data)
{
    SecureMemory::wipe(data.Content);
    SecureMemory::wipe(data.Detail);
    SecureMemory::wipe(data.Comment);
    if (data.Blob) {
        SecureMemory::wipe(*data.Blob);
    }
}

qint64 subtreeBytes(const ElementNode *node)
{
    qint64 bytes = 0;
    std::vector<const ElementNode *> pending{node};
    while (!pending.empty()) {
        const ElementNode *next = pending.back();
        pending.pop_back();
        bytes += next->name().size() + dataBytes(next->data());
        for (int row = 0; row < next->childCount(); ++row) {
            pending.push_back(next->child(row));
        }
    }
    return bytes;
}

DocumentCommand::DocumentCommand(DatabaseDocument &document, const QString &text)
    : QUndoCommand(text), m_document(document)
{
}

ElementTree &DocumentCommand::tree()
{
    return m_document.tree();
}

void DocumentCommand::applied(ElementNode *show)
{
    emit m_document.commandApplied(show);
}

// --- Elements arriving and leaving ---

InsertElementsCommand::InsertElementsCommand(DatabaseDocument &document, const QList<ElementNode *> &arrived,
                                             const QString &text)
    : DocumentCommand(document, text)
{
    m_elements.reserve(size_t(arrived.size()));
    for (ElementNode *node : arrived) {
        m_elements.push_back({node, node->parent(), nullptr});
        m_bytes += subtreeBytes(node);
    }
}

void InsertElementsCommand::redo()
{
    if (std::exchange(m_firstRedo, false)) {
        return;
    }
    for (Placed &placed : m_elements) {
        tree().insertDetached(placed.parent, std::move(placed.owned));
    }
    applied(m_elements.empty() ? nullptr : m_elements.front().node);
}

void InsertElementsCommand::undo()
{
    // The last to arrive leaves first, so each parent is still there for the ones after.
    for (auto placed = m_elements.rbegin(); placed != m_elements.rend(); ++placed) {
        placed->owned = tree().detach(placed->node);
    }
    applied(m_elements.empty() ? nullptr : m_elements.front().parent);
}

RemoveElementCommand::RemoveElementCommand(DatabaseDocument &document, ElementNode *node, ElementNode *show,
                                           const QString &text)
    : DocumentCommand(document, text), m_node(node), m_parent(node->parent()), m_show(show)
{
    m_bytes = subtreeBytes(node);
}

void RemoveElementCommand::redo()
{
    m_owned = tree().detach(m_node);
    applied(m_show);
}

void RemoveElementCommand::undo()
{
    tree().insertDetached(m_parent, std::move(m_owned));
    applied(m_node);
}

MoveElementCommand::MoveElementCommand(DatabaseDocument &document, ElementNode *node, ElementNode *parent,
                                       const QString &text)
    : DocumentCommand(document, text), m_node(node), m_oldParent(node->parent()), m_newParent(parent),
      m_oldName(node->name())
{
}

void MoveElementCommand::redo()
{
    if (m_newName.isNull()) {
        m_newName = tree().uniqueNameIn(m_newParent, m_oldName);
    }
    tree().moveElement(m_node, m_newParent, m_newName);
    applied(m_node);
}

void MoveElementCommand::undo()
{
    tree().moveElement(m_node, m_oldParent, m_oldName);
    applied(m_node);
}

// --- Names and data ---

RenameElementCommand::RenameElementCommand(DatabaseDocument &document, ElementNode *node, QByteArray name,
                                           QByteArray modified, const QString &text)
    : DocumentCommand(document, text), m_node(node), m_oldName(node->name()), m_newName(std::move(name)),
      m_oldModified(node->data().Modified), m_newModified(std::move(modified))
{
    m_bytes = m_oldName.size() + m_newName.size();
}

void RenameElementCommand::apply(const QByteArray &name, const QByteArray &modified)
{
    tree().setName(m_node, name);
    m_node->data().Modified = modified;
    tree().notifyChanged(m_node);
    applied(m_node);
}

void RenameElementCommand::redo()
{
    apply(m_newName, m_newModified);
}

void RenameElementCommand::undo()
{
    apply(m_oldName, m_oldModified);
}

ChangeDataCommand::ChangeDataCommand(DatabaseDocument &document, ElementNode *node, ElementData before,
                                     const QString &text, int field, quint64 visit)
    : DocumentCommand(document, text), m_node(node), m_before(std::move(before)), m_after(node->data()),
      m_field(field), m_visit(visit)
{
    count();
}

ChangeDataCommand::~ChangeDataCommand()
{
    wipeElementData(m_before);
    wipeElementData(m_after);
}

void ChangeDataCommand::count()
{
    m_bytes = dataBytes(m_before) + dataBytes(m_after);
}

int ChangeDataCommand::id() const
{
    return m_field < 0 ? -1 : ChangeDataId;
}

bool ChangeDataCommand::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const ChangeDataCommand *>(other);
    if (next->m_node != m_node || next->m_field != m_field || next->m_visit != m_visit) {
        return false;
    }
    wipeElementData(m_after);
    m_after = next->m_after;
    count();
    return true;
}

void ChangeDataCommand::apply(const ElementData &data)
{
    m_node->data() = data;
    tree().notifyChanged(m_node);
    applied(m_node);
}

void ChangeDataCommand::redo()
{
    if (std::exchange(m_firstRedo, false)) {
        return;
    }
    apply(m_after);
}

void ChangeDataCommand::undo()
{
    apply(m_before);
}

// --- Password ---

ChangePasswordCommand::ChangePasswordCommand(DatabaseDocument &document, QByteArray password, const QString &text)
    : DocumentCommand(document, text), m_other(std::move(password))
{
}

ChangePasswordCommand::~ChangePasswordCommand()
{
    SecureMemory::wipe(m_other);
}

void ChangePasswordCommand::exchange()
{
    QByteArray current = m_document.password();
    m_document.setPassword(std::exchange(m_other, std::move(current)));
    applied(nullptr);
}

void ChangePasswordCommand::redo()
{
    exchange();
}

void ChangePasswordCommand::undo()
{
    exchange();
}
