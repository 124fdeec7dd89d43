#pragma once

#include <QObject>
#include <QString>
#include <QUndoCommand>

#include <deque>
#include <memory>

// The undo history of one open database: the commands done, newest last, and those undone
// since, ready to be redone. It has the shape of QUndoStack (push with merging, undo, redo,
// a clean index, the texts of the next undo and redo) and one thing QUndoStack lacks: a
// limit on the memory the commands hold. Commands keep deleted elements, old texts and
// whole tables; when they hold more than the limit, the oldest are dropped first (never
// the newest one).
class UndoStack : public QObject
{
    Q_OBJECT

public:
    explicit UndoStack(QObject *parent = nullptr);
    ~UndoStack() override;

    // Does command (its redo()) and keeps it, or merges it into the newest command when both
    // have the same id() and mergeWith() takes it. Commands undone so far are dropped.
    void push(QUndoCommand *command);
    // The bytes a command holds, asked once it was done or merged; commands that hold
    // element data report it through heldBytes().
    class Sized
    {
    public:
        virtual ~Sized() = default;
        virtual qint64 heldBytes() const = 0;
    };

    void undo();
    void redo();
    bool canUndo() const { return m_index > 0; }
    bool canRedo() const { return m_index < int(m_commands.size()); }
    QString undoText() const;
    QString redoText() const;
    int count() const { return int(m_commands.size()); }
    // The number of commands done: the next undo undoes the command before it.
    int index() const { return m_index; }
    const QUndoCommand *command(int index) const;

    // The state of the database as saved is the present one.
    void setClean();
    // The saved state is reached by no undo or redo any more (a save of other content).
    void resetClean();
    bool isClean() const { return m_cleanIndex == m_index; }
    int cleanIndex() const { return m_cleanIndex; }

    // Drops every command (they free, and wipe, what they held); clean afterwards.
    void clear();

    void setMemoryLimit(qint64 bytes);
    qint64 memoryLimit() const { return m_limit; }
    qint64 heldBytes() const { return m_held; }

signals:
    void indexChanged(int index);
    void cleanChanged(bool clean);
    void canUndoChanged(bool canUndo);
    void canRedoChanged(bool canRedo);
    void undoTextChanged(const QString &text);
    void redoTextChanged(const QString &text);

private:
    struct Entry {
        std::unique_ptr<QUndoCommand> command;
        qint64 bytes = 0;
    };
    static qint64 bytesOf(const QUndoCommand *command);
    void dropUndone();
    void dropOldest();
    // Emits what changed between the state before (given) and now.
    struct State {
        int index;
        bool clean;
        bool canUndo;
        bool canRedo;
        QString undoText;
        QString redoText;
    };
    State state() const;
    void report(const State &before);

    std::deque<Entry> m_commands;
    int m_index = 0;
    // -1: the saved state is out of reach.
    int m_cleanIndex = 0;
    qint64 m_held = 0;
    qint64 m_limit = qint64(64) << 20;
};
