#include "UndoStack.h"

UndoStack::UndoStack(QObject *parent) : QObject(parent) {}

UndoStack::~UndoStack() = default;

qint64 UndoStack::bytesOf(const QUndoCommand *command)
{
    const auto *sized = dynamic_cast<const Sized *>(command);
    return sized ? sized->heldBytes() : 0;
}

UndoStack::State UndoStack::state() const
{
    return {m_index, isClean(), canUndo(), canRedo(), undoText(), redoText()};
}

void UndoStack::report(const State &before)
{
    const State now = state();
    if (now.index != before.index) {
        emit indexChanged(now.index);
    }
    if (now.clean != before.clean) {
        emit cleanChanged(now.clean);
    }
    if (now.canUndo != before.canUndo) {
        emit canUndoChanged(now.canUndo);
    }
    if (now.canRedo != before.canRedo) {
        emit canRedoChanged(now.canRedo);
    }
    if (now.undoText != before.undoText) {
        emit undoTextChanged(now.undoText);
    }
    if (now.redoText != before.redoText) {
        emit redoTextChanged(now.redoText);
    }
}

void UndoStack::push(QUndoCommand *command)
{
    std::unique_ptr<QUndoCommand> owned(command);
    const State before = state();
    owned->redo();
    dropUndone();
    // A command is merged into the newest one only while that is not the saved state:
    // undoing the merged edit must be able to come back to what was saved.
    if (m_index > 0 && m_index != m_cleanIndex && owned->id() != -1) {
        Entry &top = m_commands.back();
        if (top.command->id() == owned->id() && top.command->mergeWith(owned.get())) {
            m_held -= top.bytes;
            top.bytes = bytesOf(top.command.get());
            m_held += top.bytes;
            dropOldest();
            report(before);
            return;
        }
    }
    const qint64 bytes = bytesOf(owned.get());
    m_commands.push_back({std::move(owned), bytes});
    m_held += bytes;
    ++m_index;
    dropOldest();
    report(before);
}

void UndoStack::dropUndone()
{
    while (int(m_commands.size()) > m_index) {
        m_held -= m_commands.back().bytes;
        m_commands.pop_back();
    }
    if (m_cleanIndex > m_index) {
        m_cleanIndex = -1;
    }
}

void UndoStack::dropOldest()
{
    while (m_held > m_limit && m_index > 1) {
        m_held -= m_commands.front().bytes;
        m_commands.pop_front();
        --m_index;
        m_cleanIndex = m_cleanIndex > 0 ? m_cleanIndex - 1 : -1;
    }
}

void UndoStack::undo()
{
    if (!canUndo()) {
        return;
    }
    const State before = state();
    --m_index;
    m_commands[size_t(m_index)].command->undo();
    report(before);
}

void UndoStack::redo()
{
    if (!canRedo()) {
        return;
    }
    const State before = state();
    m_commands[size_t(m_index)].command->redo();
    ++m_index;
    report(before);
}

QString UndoStack::undoText() const
{
    return canUndo() ? m_commands[size_t(m_index - 1)].command->text() : QString();
}

QString UndoStack::redoText() const
{
    return canRedo() ? m_commands[size_t(m_index)].command->text() : QString();
}

const QUndoCommand *UndoStack::command(int index) const
{
    return index >= 0 && index < count() ? m_commands[size_t(index)].command.get() : nullptr;
}

void UndoStack::setClean()
{
    const State before = state();
    m_cleanIndex = m_index;
    report(before);
}

void UndoStack::resetClean()
{
    const State before = state();
    m_cleanIndex = -1;
    report(before);
}

void UndoStack::clear()
{
    const State before = state();
    m_commands.clear();
    m_index = 0;
    m_cleanIndex = 0;
    m_held = 0;
    report(before);
}

void UndoStack::setMemoryLimit(qint64 bytes)
{
    const State before = state();
    m_limit = bytes;
    dropOldest();
    report(before);
}
