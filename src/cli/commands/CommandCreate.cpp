// vaultbase-cli create [--force] FILE: a new, empty database; the password is asked twice
// on the terminal (or read from standard input or a key file).
#include "Commands.h"
#include "Console.h"
#include "ExitCode.h"
#include "PasswordInput.h"

#include "editing/DatabaseDocument.h"

#include <QFileInfo>

class CreateCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("create"); }
    QString summary() const override
    {
        return QStringLiteral("a new empty database (owner-only); the password is asked twice on the terminal");
    }
    QList<QCommandLineOption> options() const override
    {
        return {flagOption({QStringLiteral("force")}, QStringLiteral("replace FILE when it exists"))};
    }
    int run(const Invocation &invocation) const override;
};

int CreateCommand::run(const Invocation &invocation) const
{
    const QString &file = invocation.file;
    const QFileInfo info(file);
    if ((info.exists() || info.isSymLink()) && !invocation.has(QStringLiteral("--force"))) {
        Console::error(QStringLiteral("%1 exists; give --force to replace it.").arg(file));
        return ExitFailure;
    }
    std::optional<Password> password = obtainPassword(invocation, PasswordUse::Create);
    if (!password) {
        return ExitFailure;
    }
    DatabaseDocument document;
    document.setPassword(password->bytes().toByteArray());
    if (!document.save(file, true).ok()) {
        Console::error(QStringLiteral("Cannot write %1.").arg(file));
        return ExitFailure;
    }
    return ExitOk;
}

std::unique_ptr<CliCommand> makeCreateCommand()
{
    return std::make_unique<CreateCommand>();
}
