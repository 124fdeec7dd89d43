// vaultbase-cli import --from TREE.json [--text-form] [--force] FILE: a new database from
// the JSON that export writes.
#include "Command.h"
#include "Commands.h"
#include "Console.h"
#include "ExitCode.h"
#include "JsonTreeReader.h"
#include "OpenDatabase.h"
#include "PasswordInput.h"

#include "document/DatabaseFile.h"
#include "document/ElementTree.h"
#include "document/Encryption.h"
#include "platform/Clock.h"
#include "platform/SecureMemory.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The JSON of a database: its texts escaped and its attachments in base64, so several
// times the database's plaintext at most.
constexpr qint64 MaxJsonSize = qint64(4) << 30;

bool somethingAt(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// True when the file at path, decrypted, begins with the text form's XML line. The text
// form cannot carry a NUL byte or a column tag in a text; the database is then written in
// the binary form, and the caller says so.
bool writtenInTextForm(const QString &path, QByteArrayView password)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray firstBlock = file.read(8);
    std::optional<QByteArray> plain = decryptBuffer(firstBlock, password);
    const bool text = plain && plain->startsWith("<?xml");
    if (plain) {
        SecureMemory::wipe(*plain);
    }
    return text;
}

} // namespace

class ImportCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("import"); }
    QString summary() const override
    {
        return QStringLiteral("write a new database from JSON made by export");
    }
    QList<QCommandLineOption> options() const override
    {
        return {valueOption({QStringLiteral("from")}, QStringLiteral("the JSON to read"), QStringLiteral("TREE.json")),
                flagOption({QStringLiteral("text-form")}, QStringLiteral("write the text table stream instead of the binary one")),
                flagOption({QStringLiteral("force")}, QStringLiteral("replace FILE when it exists"))};
    }
    int run(const Invocation &invocation) const override;
};

int ImportCommand::run(const Invocation &invocation) const
{
    if (!invocation.has(QStringLiteral("--from"))) {
        Console::error(QStringLiteral("import needs --from TREE.json."));
        return ExitUsage;
    }
    const QString from = invocation.value(QStringLiteral("--from"));
    const QString &file = invocation.file;
    if (somethingAt(file) && !invocation.has(QStringLiteral("--force"))) {
        Console::error(QStringLiteral("%1 exists; give --force to replace it.").arg(file));
        return ExitFailure;
    }
    ElementTree tree;
    {
        std::optional<QByteArray> json = readWholeFile(from, MaxJsonSize);
        if (!json) {
            return ExitFailure;
        }
        const QString error = readTreeJson(std::move(*json), tree, SystemClock::instance());
        if (!error.isEmpty()) {
            Console::error(QStringLiteral("%1: %2").arg(from, error));
            return ExitFailure;
        }
    }
    const std::optional<Password> password = obtainPassword(invocation, PasswordUse::Create);
    if (!password) {
        return ExitFailure;
    }
    const bool textForm = invocation.has(QStringLiteral("--text-form"));
    if (!saveDatabase(tree, file, password->bytes(), !textForm)) {
        Console::error(QStringLiteral("Cannot write %1.").arg(file));
        return ExitFailure;
    }
    if (textForm && !writtenInTextForm(file, password->bytes())) {
        Console::error(QStringLiteral("Note: %1 was written in the binary form: a text holds a NUL byte or a column"
                                      " tag, which the text form cannot carry.")
                           .arg(file));
    }
    return ExitOk;
}

std::unique_ptr<CliCommand> makeImportCommand()
{
    return std::make_unique<ImportCommand>();
}
