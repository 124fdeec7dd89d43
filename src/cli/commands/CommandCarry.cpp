// vaultbase-cli attach --to CARRIER --out OUT FILE and portable --out OUT FILE: the
// database of FILE carried at the end of another file, or in a copy of the program.
#include "Command.h"
#include "Commands.h"
#include "Console.h"
#include "ExitCode.h"
#include "OpenDatabase.h"

#include "document/AttachedDatabase.h"
#include "document/DatabaseFile.h"
#include "document/ElementTree.h"
#include "shell/LanguageStore.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

bool isReadableFile(const QString &path, const char *what)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        Console::error(QStringLiteral("Cannot read the %1 %2.").arg(QLatin1StringView(what), path));
        return false;
    }
    return true;
}

// The output name; nothing when it is missing or names an existing file without --force.
std::optional<QString> outputOf(const Invocation &invocation, int *status)
{
    if (!invocation.has(QStringLiteral("--out"))) {
        Console::error(QStringLiteral("%1 needs --out OUT.").arg(invocation.command));
        *status = ExitUsage;
        return std::nullopt;
    }
    const QString out = invocation.value(QStringLiteral("--out"));
    const QFileInfo info(out);
    if ((info.exists() || info.isSymLink()) && !invocation.has(QStringLiteral("--force"))) {
        Console::error(QStringLiteral("%1 exists; give --force to replace it.").arg(out));
        *status = ExitFailure;
        return std::nullopt;
    }
    return out;
}

// The desktop program beside the tool (installed) or in the build tree's app folder.
QString defaultProgram()
{
    const QString folder = QCoreApplication::applicationDirPath();
    for (const QString &candidate : {folder + QStringLiteral("/vaultbase"), folder + QStringLiteral("/../app/vaultbase")}) {
        if (QFileInfo(candidate).isFile()) {
            return QFileInfo(candidate).canonicalFilePath();
        }
    }
    return {};
}

// Opens FILE and encrypts its tree again, in the binary form, under the same password.
std::optional<QByteArray> databaseCiphertext(const Invocation &invocation, int *status)
{
    ElementTree tree;
    std::optional<Password> password;
    *status = openDatabase(invocation, tree, &password);
    if (*status != ExitOk) {
        return std::nullopt;
    }
    std::optional<QByteArray> ciphertext = encryptDatabase(tree, password->bytes(), true);
    if (!ciphertext) {
        Console::error(QStringLiteral("Cannot encrypt the database of %1.").arg(invocation.file));
        *status = ExitFailure;
    }
    return ciphertext;
}

} // namespace

class AttachCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("attach"); }
    QString summary() const override
    {
        return QStringLiteral("OUT becomes CARRIER with the database of FILE attached; it opens like a database");
    }
    QList<QCommandLineOption> options() const override
    {
        return {valueOption({QStringLiteral("to")}, QStringLiteral("the file to carry the database, copied unchanged"), QStringLiteral("CARRIER")),
                valueOption({QStringLiteral("out")}, QStringLiteral("the file to write (owner-only)"), QStringLiteral("OUT")),
                flagOption({QStringLiteral("force")}, QStringLiteral("replace OUT when it exists"))};
    }
    int run(const Invocation &invocation) const override;
};

int AttachCommand::run(const Invocation &invocation) const
{
    if (!invocation.has(QStringLiteral("--to"))) {
        Console::error(QStringLiteral("attach needs --to CARRIER."));
        return ExitUsage;
    }
    int status = ExitOk;
    const std::optional<QString> out = outputOf(invocation, &status);
    if (!out) {
        return status;
    }
    const QString carrier = invocation.value(QStringLiteral("--to"));
    if (!isReadableFile(carrier, "carrier")) {
        return ExitFailure;
    }
    const std::optional<QByteArray> ciphertext = databaseCiphertext(invocation, &status);
    if (!ciphertext) {
        return status;
    }
    if (!writeAttachedDatabase(carrier, *out, false, *ciphertext)) {
        Console::error(QStringLiteral("Cannot write %1.").arg(*out));
        return ExitFailure;
    }
    return ExitOk;
}

class PortableCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("portable"); }
    QString summary() const override
    {
        return QStringLiteral("OUT becomes a copy of the desktop program carrying the database of FILE");
    }
    QList<QCommandLineOption> options() const override
    {
        return {valueOption({QStringLiteral("out")}, QStringLiteral("the program copy to write (owner-only, executable)"), QStringLiteral("OUT")),
                valueOption({QStringLiteral("program")}, QStringLiteral("the program to copy (default: vaultbase beside this tool)"), QStringLiteral("PATH")),
                valueOption({QStringLiteral("language")}, QStringLiteral("the language the copy shows (default: English)"), QStringLiteral("FILE.lng")),
                flagOption({QStringLiteral("force")}, QStringLiteral("replace OUT when it exists"))};
    }
    int run(const Invocation &invocation) const override;
};

int PortableCommand::run(const Invocation &invocation) const
{
    int status = ExitOk;
    const std::optional<QString> out = outputOf(invocation, &status);
    if (!out) {
        return status;
    }
    const QString program = invocation.has(QStringLiteral("--program")) ? invocation.value(QStringLiteral("--program"))
                                                                         : defaultProgram();
    if (program.isEmpty()) {
        Console::error(QStringLiteral("The desktop program vaultbase is not beside this tool; give --program PATH."));
        return ExitFailure;
    }
    if (!isReadableFile(program, "program")) {
        return ExitFailure;
    }
    // The copy shows its windows in the language it carries; without --language, English.
    QByteArray languageText;
    if (invocation.has(QStringLiteral("--language"))) {
        const QString languageFile = invocation.value(QStringLiteral("--language"));
        if (!isReadableFile(languageFile, "language file")) {
            return ExitFailure;
        }
        LanguageStore language;
        language.apply(languageFile, QByteArray());
        languageText = language.toText();
    }
    const std::optional<QByteArray> ciphertext = databaseCiphertext(invocation, &status);
    if (!ciphertext) {
        return status;
    }
    if (!writeAttachedDatabase(program, *out, true, *ciphertext, languageText)) {
        Console::error(QStringLiteral("Cannot write %1.").arg(*out));
        return ExitFailure;
    }
    return ExitOk;
}

std::unique_ptr<CliCommand> makeAttachCommand()
{
    return std::make_unique<AttachCommand>();
}

std::unique_ptr<CliCommand> makePortableCommand()
{
    return std::make_unique<PortableCommand>();
}
