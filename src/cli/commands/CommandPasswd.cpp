// vaultbase-cli passwd FILE: a new password for the database, asked twice.
#include "Commands.h"
#include "Console.h"
#include "DatabaseChange.h"
#include "ExitCode.h"
#include "PasswordInput.h"

#include "editing/DocumentCommands.h"

class PasswdCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("passwd"); }
    QString summary() const override
    {
        return QStringLiteral("changes the database's password: the new one is asked twice on the terminal"
                              " (without a terminal, the line after the present password on standard input)");
    }
    int run(const Invocation &invocation) const override;
};

int PasswdCommand::run(const Invocation &invocation) const
{
    DatabaseChange change(invocation);
    if (const int opened = change.open(); opened != ExitOk) {
        return opened;
    }
    std::optional<Password> password = askNewPassword(QStringLiteral("New password for %1: ").arg(change.file()));
    if (!password) {
        return ExitFailure;
    }
    if (password->isEmpty()) {
        Console::error(QStringLiteral("The password is empty."));
        return ExitFailure;
    }
    change.document().push(new ChangePasswordCommand(change.document(), password->bytes().toByteArray(),
                                                     QStringLiteral("Password")));
    return change.save();
}

std::unique_ptr<CliCommand> makePasswdCommand()
{
    return std::make_unique<PasswdCommand>();
}
