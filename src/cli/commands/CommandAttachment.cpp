// vaultbase-cli attachment export FILE PATH OUT / attachment import FILE PATH IN: the bytes
// of a file element, out to an owner-only file and in from any file.
#include "Commands.h"
#include "Console.h"
#include "DatabaseChange.h"
#include "ElementPath.h"
#include "ExitCode.h"
#include "OpenDatabase.h"

#include "document/ElementTree.h"
#include "editing/DocumentCommands.h"
#include "editing/ElementCommands.h"
#include "platform/Clock.h"
#include "platform/SecretFile.h"

#include <QFileInfo>

class AttachmentExportCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("attachment export"); }
    QString summary() const override
    {
        return QStringLiteral("writes the bytes of the file element at PATH to OUT, readable by its owner only");
    }
    QList<QCommandLineOption> options() const override
    {
        return {flagOption({QStringLiteral("force")}, QStringLiteral("replace OUT when it exists"))};
    }
    QStringList arguments() const override
    {
        return {QStringLiteral("FILE"), QStringLiteral("PATH"), QStringLiteral("OUT")};
    }
    int run(const Invocation &invocation) const override;
};

class AttachmentImportCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("attachment import"); }
    QString summary() const override
    {
        return QStringLiteral("puts the bytes of the file IN into the file element at PATH (its stored file name"
                              " becomes IN's); a new file element when PATH does not exist yet");
    }
    QStringList arguments() const override
    {
        return {QStringLiteral("FILE"), QStringLiteral("PATH"), QStringLiteral("IN")};
    }
    int run(const Invocation &invocation) const override;
};

namespace {

QString attachProblem(ElementCommands::FileProblem problem)
{
    switch (problem) {
    case ElementCommands::FileProblem::Missing: return QStringLiteral("no such file");
    case ElementCommands::FileProblem::NotAFile: return QStringLiteral("it is no regular file");
    case ElementCommands::FileProblem::TooLarge:
        return QStringLiteral("a file element holds at most %1 bytes").arg(ElementCommands::MaxFileBytes);
    case ElementCommands::FileProblem::NameNotStorable:
        return QStringLiteral("its name cannot be stored (a character the code page cannot carry, or \"<>\")");
    case ElementCommands::FileProblem::None: break;
    }
    return QString();
}

} // namespace

int AttachmentExportCommand::run(const Invocation &invocation) const
{
    const QString out = invocation.argument(2);
    const QFileInfo info(out);
    if ((info.exists() || info.isSymLink()) && !invocation.has(QStringLiteral("--force"))) {
        Console::error(QStringLiteral("%1 exists; give --force to replace it.").arg(out));
        return ExitFailure;
    }
    ElementTree tree;
    int status = ExitOk;
    const ElementNode *node = openElement(invocation, tree, status);
    if (!node) {
        return status;
    }
    if (node->kind() != KindFile) {
        Console::error(QStringLiteral("%1: \"%2\": not a file element.").arg(invocation.file, invocation.argument(1)));
        return ExitFailure;
    }
    const QByteArray none;
    const QByteArray &bytes = node->data().Blob ? *node->data().Blob : none;
    SecretFile::Failure failure = SecretFile::Failure::None;
    if (!SecretFile::write(out, bytes, &failure)) {
        Console::error(QStringLiteral("Cannot write %1: %2.").arg(out, describeWriteProblem(failure)));
        return ExitFailure;
    }
    return ExitOk;
}

int AttachmentImportCommand::run(const Invocation &invocation) const
{
    const QString in = invocation.argument(2);
    if (const ElementCommands::FileProblem problem = ElementCommands::checkFileToAttach(in);
        problem != ElementCommands::FileProblem::None) {
        Console::error(QStringLiteral("Cannot attach %1: %2.").arg(in, attachProblem(problem)));
        return ExitFailure;
    }
    DatabaseChange change(invocation);
    if (const int opened = change.open(); opened != ExitOk) {
        return opened;
    }
    std::optional<QByteArray> bytes = ElementCommands::readWholeFile(in);
    if (!bytes) {
        Console::error(QStringLiteral("Cannot read %1.").arg(in));
        return ExitFailure;
    }
    const QString path = invocation.argument(1);
    DatabaseDocument &document = change.document();
    ElementData data = ElementCommands::fileElementData(in, std::move(*bytes), SystemClock::instance());
    if (ElementNode *node = findElementByPath(change.tree(), path)) {
        if (node->kind() != KindFile) {
            return change.fail(path, QStringLiteral("not a file element"));
        }
        ElementData before = node->data();
        data.Content = before.Content;
        data.Created = before.Created;
        change.tree().replaceData(node, std::move(data));
        document.push(new ChangeDataCommand(document, node, std::move(before), QStringLiteral("Attach")));
        return change.save();
    }
    const SplitPath split = splitLastName(path);
    ElementNode *parent = nullptr;
    if (!split.parent.isEmpty()) {
        parent = findElementByPath(change.tree(), split.parent);
        if (!parent || parent->kind() != KindFolder) {
            return change.fail(split.parent, parent ? QStringLiteral("not a folder") : QStringLiteral("no such folder"));
        }
    }
    std::optional<QByteArray> name = change.codePageText(path, QStringLiteral("the name"), split.name);
    if (!name) {
        return ExitFailure;
    }
    if (ElementCommands::checkNameText(*name) != ElementCommands::NameProblem::None) {
        return change.fail(path, QStringLiteral("a name can neither be empty nor hold \"<>\""));
    }
    ElementNode *node = ElementCommands::addElement(change.tree(), NewElement::File, parent, *name,
                                                    SystemClock::instance());
    if (!node) {
        return change.fail(path, QStringLiteral("deeper than %1 levels").arg(ElementTree::MaxDepth));
    }
    change.tree().replaceData(node, std::move(data));
    document.push(new InsertElementsCommand(document, {node}, QStringLiteral("Attach")));
    return change.save();
}

std::unique_ptr<CliCommand> makeAttachmentExportCommand()
{
    return std::make_unique<AttachmentExportCommand>();
}

std::unique_ptr<CliCommand> makeAttachmentImportCommand()
{
    return std::make_unique<AttachmentImportCommand>();
}
