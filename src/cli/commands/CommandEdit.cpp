// vaultbase-cli edit [--name N] [fields] FILE PATH: changes only the fields given, through
// the rename and change commands the database window uses, and stamps Modified.
#include "Commands.h"
#include "Console.h"
#include "DatabaseChange.h"
#include "ElementFields.h"
#include "ElementPath.h"
#include "ExitCode.h"

#include "editing/DocumentCommands.h"
#include "editing/ElementCommands.h"
#include "platform/Clock.h"

class EditCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("edit"); }
    QString summary() const override
    {
        return QStringLiteral("changes only the fields given of the element at PATH and stamps Modified");
    }
    QList<QCommandLineOption> options() const override
    {
        return QList<QCommandLineOption>{valueOption({QStringLiteral("name")}, QStringLiteral("a new name"),
                                                     QStringLiteral("N"))}
            + ElementFields::options();
    }
    QStringList arguments() const override { return {QStringLiteral("FILE"), QStringLiteral("PATH")}; }
    int run(const Invocation &invocation) const override;
};

namespace {

QString nameProblemText(ElementCommands::NameProblem problem)
{
    switch (problem) {
    case ElementCommands::NameProblem::Empty: return QStringLiteral("a name cannot be empty");
    case ElementCommands::NameProblem::Separator: return QStringLiteral("a name cannot hold \"<>\"");
    case ElementCommands::NameProblem::Duplicate: return QStringLiteral("a sibling already bears the name");
    case ElementCommands::NameProblem::None: break;
    }
    return QString();
}

} // namespace

int EditCommand::run(const Invocation &invocation) const
{
    DatabaseChange change(invocation);
    const QString path = invocation.argument(1);
    if (const int opened = change.open(); opened != ExitOk) {
        return opened;
    }
    ElementNode *node = change.element(path);
    if (!node) {
        return ExitFailure;
    }
    int status = ExitOk;
    const std::optional<ElementFields::Values> values = ElementFields::read(invocation, change, path, node->kind(), &status);
    if (!values) {
        return status;
    }
    std::optional<QByteArray> name;
    if (invocation.has(QStringLiteral("--name"))) {
        const QString text = invocation.value(QStringLiteral("--name"));
        if (text.contains(PathSeparator)) {
            return change.fail(path, QStringLiteral("a new name cannot hold the path separator \" > \""));
        }
        name = change.codePageText(path, QStringLiteral("the name"), text);
        if (!name) {
            return ExitFailure;
        }
        const ElementCommands::NameProblem problem = ElementCommands::checkName(change.tree(), node, *name);
        if (problem != ElementCommands::NameProblem::None && *name != node->name()) {
            return change.fail(path, nameProblemText(problem));
        }
    }
    if (!name && !values->any()) {
        Console::error(QStringLiteral("edit needs at least one field to change."));
        return ExitUsage;
    }
    DatabaseDocument &document = change.document();
    if (values->any()) {
        ElementData before = node->data();
        ElementData after = before;
        ElementFields::apply(*values, after);
        change.tree().replaceData(node, std::move(after));
        document.push(new ChangeDataCommand(document, node, std::move(before), QStringLiteral("Edit")));
    }
    if (name && *name != node->name()) {
        document.push(new RenameElementCommand(document, node, *name, timeText(SystemClock::instance().now()),
                                               QStringLiteral("Rename")));
    }
    return change.save();
}

std::unique_ptr<CliCommand> makeEditCommand()
{
    return std::make_unique<EditCommand>();
}
