// vaultbase-cli mv FILE PATH [NEW-PARENT-PATH]: moves an element with its descendants into
// a folder (or to the top level), by the rules of a moving drop in the database window.
#include "Commands.h"
#include "Console.h"
#include "DatabaseChange.h"
#include "ElementPath.h"
#include "ExitCode.h"

#include "editing/DocumentCommands.h"
#include "editing/ElementDrop.h"

class MoveCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("mv"); }
    QString summary() const override
    {
        return QStringLiteral("moves the element at PATH with its descendants into the folder NEW-PARENT-PATH, or"
                              " to the top level without it; a name taken there gets the next free one; moving"
                              " onto its own subtree is refused");
    }
    QStringList arguments() const override
    {
        return {QStringLiteral("FILE"), QStringLiteral("PATH"), QStringLiteral("NEW-PARENT-PATH")};
    }
    int requiredArguments() const override { return 2; }
    int run(const Invocation &invocation) const override;
};

int MoveCommand::run(const Invocation &invocation) const
{
    DatabaseChange change(invocation);
    if (const int opened = change.open(); opened != ExitOk) {
        return opened;
    }
    const QString path = invocation.argument(1);
    ElementNode *node = change.element(path);
    if (!node) {
        return ExitFailure;
    }
    ElementNode *target = nullptr;
    if (invocation.arguments.size() > 2) {
        const QString targetPath = invocation.argument(2);
        target = change.element(targetPath);
        if (!target) {
            return ExitFailure;
        }
        if (target->kind() != KindFolder) {
            return change.fail(targetPath, QStringLiteral("not a folder"));
        }
    }
    switch (ElementDrop::checkMove(change.tree(), node, target)) {
    case ElementDrop::MoveCheck::Refused:
        return change.fail(path, QStringLiteral("an element cannot move into its own subtree"));
    case ElementDrop::MoveCheck::TooDeep:
        return change.fail(path, QStringLiteral("it would be nested deeper than %1 levels").arg(ElementTree::MaxDepth));
    case ElementDrop::MoveCheck::SamePlace:
        return ExitOk;
    case ElementDrop::MoveCheck::Allowed: break;
    }
    const QByteArray oldName = node->name();
    change.document().push(new MoveElementCommand(change.document(), node, target, QStringLiteral("Move")));
    if (const int saved = change.save(); saved != ExitOk) {
        return saved;
    }
    if (node->name() != oldName) {
        Console::printToStderr(QStringLiteral("Moved as \"%1\".\n").arg(shownPath(change.tree(), node)));
    }
    return ExitOk;
}

std::unique_ptr<CliCommand> makeMoveCommand()
{
    return std::make_unique<MoveCommand>();
}
