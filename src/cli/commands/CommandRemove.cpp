// vaultbase-cli rm [-r] FILE PATH: deletes an element; a folder with children only with -r.
#include "Commands.h"
#include "DatabaseChange.h"
#include "ExitCode.h"

#include "editing/DocumentCommands.h"
#include "editing/ElementCommands.h"

class RemoveCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("rm"); }
    QString summary() const override
    {
        return QStringLiteral("deletes the element at PATH; a folder with children needs -r");
    }
    QList<QCommandLineOption> options() const override
    {
        return {flagOption({QStringLiteral("r"), QStringLiteral("recursive")},
                           QStringLiteral("delete a folder with everything in it"))};
    }
    QStringList arguments() const override { return {QStringLiteral("FILE"), QStringLiteral("PATH")}; }
    int run(const Invocation &invocation) const override;
};

int RemoveCommand::run(const Invocation &invocation) const
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
    if (change.tree().childCount(node) > 0 && !invocation.has(QStringLiteral("--recursive"))) {
        return change.fail(path, QStringLiteral("the folder is not empty (give -r to delete it with its content)"));
    }
    change.document().push(new RemoveElementCommand(change.document(), node,
                                                    ElementCommands::selectionAfterDelete(node),
                                                    QStringLiteral("Delete")));
    return change.save();
}

std::unique_ptr<CliCommand> makeRemoveCommand()
{
    return std::make_unique<RemoveCommand>();
}
