// vaultbase-cli export: the whole tree as JSON on standard output, or the elements as HTML
// or text documents with their attached files beside them (the database window's five
// export commands).
#include "Command.h"
#include "Commands.h"
#include "Console.h"
#include "ElementPath.h"
#include "ExitCode.h"
#include "JsonTreeWriter.h"
#include "OpenDatabase.h"

#include "document/ElementTree.h"
#include "platform/CodePage.h"
#include "platform/SecretFile.h"
#include "tools/ExportElements.h"
#include "tools/ExportPaths.h"

#include <QFileInfo>

namespace {

const QString DocumentOptions[] = {QStringLiteral("--element"), QStringLiteral("--single-files"),
                                   QStringLiteral("--folders"), QStringLiteral("--files-only"),
                                   QStringLiteral("--font")};

int exportJson(const Invocation &invocation)
{
    if (invocation.arguments.size() > 1) {
        Console::error(QStringLiteral("export --format json writes to standard output or --out FILE; it takes no OUT."));
        return ExitUsage;
    }
    for (const QString &option : DocumentOptions) {
        if (invocation.has(option)) {
            Console::error(QStringLiteral("%1 goes with --format html or txt.").arg(option));
            return ExitUsage;
        }
    }
    ElementTree tree;
    if (const int status = openDatabase(invocation, tree); status != ExitOk) {
        return status;
    }
    if (invocation.has(QStringLiteral("--out"))) {
        // Every password in clear: the file is its owner's alone, as a shell redirect's
        // file (made with the shell's umask) need not be.
        const QString path = invocation.value(QStringLiteral("--out"));
        const bool written = SecretFile::write(path, [&tree](QIODevice &device) {
            OutputStream out(device);
            writeTreeJson(tree, out);
            return out.flush();
        });
        if (!written) {
            Console::error(QStringLiteral("Cannot write %1.").arg(path));
            return ExitFailure;
        }
        return ExitOk;
    }
    OutputStream out;
    writeTreeJson(tree, out);
    if (!out.flush()) {
        Console::error(QStringLiteral("Cannot write to standard output."));
        return ExitFailure;
    }
    return ExitOk;
}

// The command's switches as one of the five variants; nothing (with the reason printed)
// for a combination the menu does not offer.
std::optional<ExportVariant> variantOf(const Invocation &invocation)
{
    const bool element = invocation.has(QStringLiteral("--element"));
    const bool singleFiles = invocation.has(QStringLiteral("--single-files"));
    const bool folders = invocation.has(QStringLiteral("--folders"));
    const bool filesOnly = invocation.has(QStringLiteral("--files-only"));
    if (element && (singleFiles || folders || filesOnly)) {
        Console::error(QStringLiteral("--element exports one element into one document: it goes with no other"
                                      " export switch."));
        return std::nullopt;
    }
    if (element) {
        return ExportVariant::Selected;
    }
    if (filesOnly) {
        return ExportVariant::FileEntries;
    }
    if (folders) {
        return ExportVariant::AllAsFilesInFolders;
    }
    return singleFiles ? ExportVariant::AllAsFiles : ExportVariant::All;
}

// OUT's name with the extension the format needs: ".txt" for text, any other for HTML
// (".htm" added when OUT has none). Nothing when OUT's extension asks for the other format.
std::optional<ExportTarget> targetOf(const QString &out, bool text)
{
    ExportTarget target = exportTargetOf(out);
    if (target.extension.isEmpty()) {
        target.extension = text ? QStringLiteral(".txt") : QStringLiteral(".htm");
    }
    if ((target.extension == u".txt") != text) {
        Console::error(text ? QStringLiteral("--format txt writes files ending in .txt, not %1.").arg(out)
                            : QStringLiteral("--format html cannot write %1: a .txt name gives text.").arg(out));
        return std::nullopt;
    }
    return target;
}

void report(const ExportResult &result)
{
    OutputStream out;
    for (const QString &path : result.documents + result.files) {
        out.write(path.toUtf8() + '\n');
    }
    out.flush();
    for (const QByteArray &name : result.mendedNames) {
        Console::error(QStringLiteral("Note: the name \"%1\" was changed to stay inside the chosen folder.")
                           .arg(CodePage::toUnicode(name)));
    }
    for (const QString &path : result.failed) {
        Console::error(QStringLiteral("Cannot write %1.").arg(path));
    }
}

int exportDocuments(const Invocation &invocation, bool text)
{
    if (invocation.has(QStringLiteral("--out"))) {
        Console::error(QStringLiteral("--out goes with --format json; documents are written to OUT."));
        return ExitUsage;
    }
    if (invocation.arguments.size() < 2) {
        Console::error(QStringLiteral("No OUT given: the documents need a file name."));
        return ExitUsage;
    }
    const std::optional<ExportVariant> variant = variantOf(invocation);
    const std::optional<ExportTarget> target = targetOf(invocation.argument(1), text);
    if (!variant || !target) {
        return ExitUsage;
    }
    bool fontOk = false;
    const QString font = invocation.has(QStringLiteral("--font")) ? invocation.value(QStringLiteral("--font"))
                                                                   : QStringLiteral("Arial");
    const QByteArray fontName = CodePage::fromUnicode(font, &fontOk);
    if (!fontOk) {
        Console::error(QStringLiteral("The font name holds a character the code page cannot carry."));
        return ExitUsage;
    }
    if (!QFileInfo(target->folder).isDir()) {
        Console::error(QStringLiteral("Cannot write into %1: no such folder.").arg(target->folder));
        return ExitFailure;
    }
    ElementTree tree;
    if (const int status = openDatabase(invocation, tree); status != ExitOk) {
        return status;
    }
    const ElementNode *selected = nullptr;
    if (*variant == ExportVariant::Selected) {
        selected = findElementByPath(tree, invocation.value(QStringLiteral("--element")));
        if (!selected) {
            Console::error(QStringLiteral("%1 holds no element \"%2\".")
                               .arg(invocation.file, invocation.value(QStringLiteral("--element"))));
            return ExitFailure;
        }
    }
    const ExportResult result = exportElementsTo(tree, selected, target->folder, target->baseName, target->extension,
                                               fontName, switchesFor(*variant));
    report(result);
    return result.ok() ? ExitOk : ExitFailure;
}

} // namespace

class ExportCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("export"); }
    QString summary() const override
    {
        return QStringLiteral("the whole tree as JSON on standard output or in --out FILE (texts decoded from the code page, RTF as "
                              "stored; passwords in clear: a shell redirect creates its file with the shell's permissions, --out "
                              "makes it readable by its owner only); with OUT, HTML or text documents (the format follows OUT's "
                              "extension unless --format says), attached files written beside them, every file and folder readable "
                              "by its owner only");
    }
    QList<QCommandLineOption> options() const override
    {
        return {valueOption({QStringLiteral("format")}, QStringLiteral("json (the default without OUT), html or txt"), QStringLiteral("FORMAT")),
                valueOption({QStringLiteral("out")}, QStringLiteral("write the JSON to FILE (owner-only) instead of standard output"), QStringLiteral("FILE")),
                valueOption({QStringLiteral("element")}, QStringLiteral("only this element (names joined by \" > \"), in one document"), QStringLiteral("PATH")),
                flagOption({QStringLiteral("single-files")}, QStringLiteral("every element in a document of its own: OUT1.htm, OUT2.htm, ...")),
                flagOption({QStringLiteral("folders")}, QStringLiteral("single files in sub-folders named after the folders of the tree")),
                flagOption({QStringLiteral("files-only")}, QStringLiteral("no documents: only the attached files, in sub-folders")),
                valueOption({QStringLiteral("font")}, QStringLiteral("the font named in every HTML cell (default Arial)"), QStringLiteral("NAME"))};
    }
    QStringList arguments() const override { return {QStringLiteral("FILE"), QStringLiteral("OUT")}; }
    int requiredArguments() const override { return 1; }
    int run(const Invocation &invocation) const override;
};

int ExportCommand::run(const Invocation &invocation) const
{
    // Checked before the password is asked: a wrong command line costs no typing.
    QString format = invocation.value(QStringLiteral("--format"));
    if (!invocation.has(QStringLiteral("--format"))) {
        const bool hasOut = invocation.arguments.size() > 1;
        format = !hasOut                                                 ? QStringLiteral("json")
            : exportTargetOf(invocation.argument(1)).extension == u".txt" ? QStringLiteral("txt")
                                                                          : QStringLiteral("html");
    }
    if (format == u"json") {
        return exportJson(invocation);
    }
    if (format == u"html" || format == u"txt") {
        return exportDocuments(invocation, format == u"txt");
    }
    Console::error(QStringLiteral("Unknown export format \"%1\"; the formats are json, html and txt.").arg(format));
    return ExitUsage;
}

std::unique_ptr<CliCommand> makeExportCommand()
{
    return std::make_unique<ExportCommand>();
}
