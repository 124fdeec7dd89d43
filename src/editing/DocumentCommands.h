#pragma once

#include "UndoStack.h"

#include "document/ElementData.h"

#include <QByteArray>
#include <QList>
#include <QUndoCommand>

#include <memory>
#include <vector>

class DatabaseDocument;
class ElementNode;
class ElementTree;

// The changes an open database knows how to undo. Each keeps the elements it concerns as
// the same objects across undo and redo (a deleted subtree is kept aside, not copied), so
// that the commands before and after it still find their elements. Commands that keep
// texts wipe them when they go.
class DocumentCommand : public QUndoCommand, public UndoStack::Sized
{
public:
    qint64 heldBytes() const override { return m_bytes; }

protected:
    DocumentCommand(DatabaseDocument &document, const QString &text);
    ElementTree &tree();
    // Tells the views that the command was applied and which element to show.
    void applied(ElementNode *show);

    DatabaseDocument &m_document;
    qint64 m_bytes = 0;
};

// The bytes of the texts and attachments of node and its descendants.
qint64 subtreeBytes(const ElementNode *node);

// Elements that arrived in the tree (added, pasted, dropped, attached, moved in from
// another window) are already in place when the command is pushed: undo takes them out
// again, redo brings the same elements back.
class InsertElementsCommand : public DocumentCommand
{
public:
    InsertElementsCommand(DatabaseDocument &document, const QList<ElementNode *> &arrived, const QString &text);
    void redo() override;
    void undo() override;

private:
    struct Placed {
        ElementNode *node;
        ElementNode *parent;
        std::unique_ptr<ElementNode> owned; // while undone
    };
    std::vector<Placed> m_elements;
    bool m_firstRedo = true;
};

// An element leaves with its descendants (delete, cut, moved to another window). show is
// the element shown afterwards.
class RemoveElementCommand : public DocumentCommand
{
public:
    RemoveElementCommand(DatabaseDocument &document, ElementNode *node, ElementNode *show, const QString &text);
    void redo() override;
    void undo() override;

private:
    ElementNode *m_node;
    ElementNode *m_parent;
    ElementNode *m_show;
    std::unique_ptr<ElementNode> m_owned; // while removed
};

// An element moves, with its descendants, under another parent of the same tree (a moving
// drop), taking the next free name there.
class MoveElementCommand : public DocumentCommand
{
public:
    MoveElementCommand(DatabaseDocument &document, ElementNode *node, ElementNode *parent, const QString &text);
    void redo() override;
    void undo() override;

private:
    ElementNode *m_node;
    ElementNode *m_oldParent;
    ElementNode *m_newParent;
    QByteArray m_oldName;
    QByteArray m_newName; // chosen by the first redo
};

// A new name for an element, with the modification time the rename gave it.
class RenameElementCommand : public DocumentCommand
{
public:
    RenameElementCommand(DatabaseDocument &document, ElementNode *node, QByteArray name, QByteArray modified,
                         const QString &text);
    void redo() override;
    void undo() override;

private:
    void apply(const QByteArray &name, const QByteArray &modified);

    ElementNode *m_node;
    QByteArray m_oldName;
    QByteArray m_newName;
    QByteArray m_oldModified;
    QByteArray m_newModified;
};

// An element's data as it was before an edit the editor already made (typing in a field,
// a table changed, sorted, replaced or imported): the first redo changes nothing, undo
// puts the old data back, redo the new. Typing in one field of one element during one
// visit of the field merges into one command: give them the same field and visit.
class ChangeDataCommand : public DocumentCommand
{
public:
    // field < 0: never merged.
    ChangeDataCommand(DatabaseDocument &document, ElementNode *node, ElementData before, const QString &text,
                      int field = -1, quint64 visit = 0);
    ~ChangeDataCommand() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;
    void redo() override;
    void undo() override;

private:
    void apply(const ElementData &data);
    void count();

    ElementNode *m_node;
    ElementData m_before;
    ElementData m_after;
    int m_field;
    quint64 m_visit;
    bool m_firstRedo = true;
};

// A new password for the database, in effect with the next save.
class ChangePasswordCommand : public DocumentCommand
{
public:
    ChangePasswordCommand(DatabaseDocument &document, QByteArray password, const QString &text);
    ~ChangePasswordCommand() override;
    void redo() override;
    void undo() override;

private:
    void exchange();

    QByteArray m_other; // the password not in effect
};

// Wipes the texts and the attachment of data.
void wipeElementData(ElementData &data);
