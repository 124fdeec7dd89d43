// vaultbase-cli add [--kind key|entry|table|folder] [-p] [--unique] [fields] FILE PATH: a
// new element at PATH, through the element command the database window's New ... uses.
#include "Commands.h"
#include "Console.h"
#include "DatabaseChange.h"
#include "ElementFields.h"
#include "ElementPath.h"
#include "ExitCode.h"

#include "editing/DocumentCommands.h"
#include "editing/ElementCommands.h"
#include "platform/Clock.h"

namespace {

std::optional<NewElement> kindNamed(const QString &name)
{
    if (name == u"key") {
        return NewElement::Key;
    }
    if (name == u"entry") {
        return NewElement::Entry;
    }
    if (name == u"table") {
        return NewElement::Table;
    }
    if (name == u"folder") {
        return NewElement::Subfolder;
    }
    return std::nullopt;
}

qint32 kindCode(NewElement what)
{
    switch (what) {
    case NewElement::Key: return KindKey;
    case NewElement::Table: return KindTable;
    case NewElement::File: return KindFile;
    case NewElement::Folder:
    case NewElement::Subfolder: return KindFolder;
    case NewElement::Entry: break;
    }
    return KindEntry;
}

} // namespace

class AddCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("add"); }
    QString summary() const override
    {
        return QStringLiteral("adds an element at PATH (names joined by \" > \"); a name already taken there is"
                              " refused unless --unique asks for the next free one");
    }
    QList<QCommandLineOption> options() const override
    {
        return QList<QCommandLineOption>{
                   valueOption({QStringLiteral("kind")}, QStringLiteral("key (the default), entry, table or folder"),
                               QStringLiteral("KIND")),
                   flagOption({QStringLiteral("p"), QStringLiteral("parents")},
                              QStringLiteral("create missing parent folders")),
                   flagOption({QStringLiteral("unique")},
                              QStringLiteral("take the next free name (NAME0, NAME1, ...) when NAME is taken"))}
            + ElementFields::options();
    }
    QStringList arguments() const override { return {QStringLiteral("FILE"), QStringLiteral("PATH")}; }
    int run(const Invocation &invocation) const override;
};

namespace {

// The folder path names, made with its missing folders when makeMissing; arrived collects
// the folders made. Null with the reason printed when it cannot be had.
ElementNode *parentFolder(DatabaseChange &change, const QString &path, bool makeMissing,
                          QList<ElementNode *> &arrived)
{
    ElementNode *folder = nullptr;
    QString walked;
    for (const QString &name : path.split(PathSeparator)) {
        walked += (walked.isEmpty() ? QString() : QString(PathSeparator)) + name;
        ElementNode *next = findElementByPath(change.tree(), walked);
        if (!next) {
            if (!makeMissing) {
                change.fail(walked, QStringLiteral("no such folder (give -p to create it)"));
                return nullptr;
            }
            std::optional<QByteArray> bytes = change.codePageText(walked, QStringLiteral("the name"), name);
            if (!bytes) {
                return nullptr;
            }
            if (ElementCommands::checkNameText(*bytes) != ElementCommands::NameProblem::None) {
                change.fail(walked, QStringLiteral("a name can neither be empty nor hold \"<>\""));
                return nullptr;
            }
            next = ElementCommands::addElement(change.tree(), folder ? NewElement::Subfolder : NewElement::Folder,
                                               folder, *bytes, SystemClock::instance());
            if (!next) {
                change.fail(walked, QStringLiteral("deeper than %1 levels").arg(ElementTree::MaxDepth));
                return nullptr;
            }
            arrived += next;
        } else if (next->kind() != KindFolder) {
            change.fail(walked, QStringLiteral("not a folder"));
            return nullptr;
        }
        folder = next;
    }
    return folder;
}

} // namespace

int AddCommand::run(const Invocation &invocation) const
{
    const std::optional<NewElement> what =
        kindNamed(invocation.has(QStringLiteral("--kind")) ? invocation.value(QStringLiteral("--kind"))
                                                          : QStringLiteral("key"));
    if (!what) {
        Console::error(QStringLiteral("Unknown kind \"%1\"; the kinds are key, entry, table and folder.")
                           .arg(invocation.value(QStringLiteral("--kind"))));
        return ExitUsage;
    }
    DatabaseChange change(invocation);
    const QString path = invocation.argument(1);
    if (const int opened = change.open(); opened != ExitOk) {
        return opened;
    }
    // After the database's password: a key's password may be the next line of the same input.
    int status = ExitOk;
    const std::optional<ElementFields::Values> values =
        ElementFields::read(invocation, change, path, kindCode(*what), &status);
    if (!values) {
        return status;
    }
    const SplitPath split = splitLastName(path);
    std::optional<QByteArray> name = change.codePageText(path, QStringLiteral("the name"), split.name);
    if (!name) {
        return ExitFailure;
    }
    if (ElementCommands::checkNameText(*name) != ElementCommands::NameProblem::None) {
        return change.fail(path, QStringLiteral("a name can neither be empty nor hold \"<>\""));
    }
    QList<ElementNode *> arrived;
    ElementNode *parent = nullptr;
    if (!split.parent.isEmpty()) {
        parent = parentFolder(change, split.parent, invocation.has(QStringLiteral("--parents")), arrived);
        if (!parent) {
            return ExitFailure;
        }
    }
    if (change.tree().findChild(parent, *name) && !invocation.has(QStringLiteral("--unique"))) {
        return change.fail(path, QStringLiteral("the name is taken (give --unique for the next free one)"));
    }
    const NewElement placed = *what == NewElement::Subfolder && !parent ? NewElement::Folder : *what;
    ElementNode *node = ElementCommands::addElement(change.tree(), placed, parent, *name, SystemClock::instance());
    if (!node) {
        return change.fail(path, QStringLiteral("deeper than %1 levels").arg(ElementTree::MaxDepth));
    }
    ElementFields::apply(*values, node->data());
    arrived += node;
    change.document().push(new InsertElementsCommand(change.document(), arrived, QStringLiteral("Add")));
    if (const int saved = change.save(); saved != ExitOk) {
        return saved;
    }
    if (node->name() != *name) {
        Console::printToStderr(QStringLiteral("Added as \"%1\".\n").arg(shownPath(change.tree(), node)));
    }
    return ExitOk;
}

std::unique_ptr<CliCommand> makeAddCommand()
{
    return std::make_unique<AddCommand>();
}
