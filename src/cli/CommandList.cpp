#include "CommandList.h"

#include "commands/Commands.h"
#include "shell/Version.h"

const std::vector<std::unique_ptr<CliCommand>> &commandList()
{
    static const std::vector<std::unique_ptr<CliCommand>> list = [] {
        std::vector<std::unique_ptr<CliCommand>> commands;
        for (auto make : {makeListCommand, makeShowCommand, makeSearchCommand, makeClipCommand,
                          makeExportCommand, makeImportCommand, makeCreateCommand, makeAddCommand,
                          makeEditCommand, makeMoveCommand, makeRemoveCommand, makeAttachmentExportCommand,
                          makeAttachmentImportCommand, makePasswdCommand, makeAnalyzeCommand,
                          makeGenerateCommand, makeRateCommand, makeChecksumCommand, makeInfoCommand,
                          makeAttachCommand, makePortableCommand, makeKeyFileCommand}) {
            commands.push_back(make());
        }
        return commands;
    }();
    return list;
}

const CliCommand *findCommand(const QStringList &arguments, int *words)
{
    for (const auto &command : commandList()) {
        const QStringList name = command->name().split(u' ');
        if (arguments.size() >= name.size() && arguments.first(name.size()) == name) {
            *words = int(name.size());
            return command.get();
        }
    }
    return nullptr;
}

QList<QCommandLineOption> passwordOptions()
{
    return {flagOption({QStringLiteral("password-stdin")},
                       QStringLiteral("read the password from one line of standard input")),
            valueOption({QStringLiteral("key-file")}, QStringLiteral("take the password from a key file"),
                        QStringLiteral("PATH"))};
}

namespace {

QString optionNames(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names()) {
        names += (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    }
    QString left = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty()) {
        left += u' ' + option.valueName();
    }
    return left;
}

QString optionLine(const QCommandLineOption &option)
{
    return QStringLiteral("      %1  %2\n").arg(optionNames(option), -20).arg(option.description());
}

QString optionSynopsis(const QCommandLineOption &option)
{
    const QString longest = option.names().constLast();
    QString text = (longest.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + longest;
    if (!option.valueName().isEmpty()) {
        text += u' ' + option.valueName();
    }
    return u'[' + text + u']';
}

} // namespace

QString synopsisOf(const CliCommand &command)
{
    QString call = QStringLiteral("  vaultbase-cli ") + command.name();
    for (const QCommandLineOption &option : command.options()) {
        call += u' ' + optionSynopsis(option);
    }
    if (command.takesPassword()) {
        call += QStringLiteral(" [PASSWORD]");
    }
    const QStringList arguments = command.arguments();
    for (qsizetype a = 0; a < arguments.size(); ++a) {
        call += a < command.requiredArguments() ? u' ' + arguments[a] : QStringLiteral(" [%1]").arg(arguments[a]);
    }
    return call;
}

namespace {

QString passwordHelp()
{
    QString text = QStringLiteral("\nPASSWORD (without it the password is asked on the terminal, not echoed):\n");
    for (const QCommandLineOption &option : passwordOptions()) {
        text += optionLine(option);
    }
    return text;
}

const char ExitCodes[] = "Exit codes: 0 success, 1 failure (wrong password, unreadable file, refused content),"
                         " 2 usage error.\n";

} // namespace

QString usageText()
{
    QString text = QStringLiteral("Usage: vaultbase-cli COMMAND [OPTIONS] ARGUMENTS\n"
                                  "Options come before the arguments; \"--\" ends them. PATH names an element"
                                  " by its names from the top level down, joined by \" > \".\n\nCommands:\n");
    for (const auto &command : commandList()) {
        text += synopsisOf(*command) + QStringLiteral("\n      ") + command->summary() + u'\n';
        for (const QCommandLineOption &option : command->options()) {
            text += optionLine(option);
        }
    }
    text += passwordHelp();
    text += QStringLiteral("\nA FILE that does not end in .kvdb may carry its database: a file with an attached"
                           " database or a portable copy opens like a database file.\n"
                           "\n  vaultbase-cli --help            this text\n"
                           "  vaultbase-cli COMMAND --help    the options of one command\n"
                           "  vaultbase-cli --version         the version\n");
    return text + QLatin1StringView(ExitCodes);
}

QString commandHelpText(const CliCommand &command)
{
    QString text = QStringLiteral("Usage:") + synopsisOf(command).sliced(1) + u'\n' + command.summary() + u'\n';
    const QList<QCommandLineOption> options = command.options();
    if (!options.isEmpty()) {
        text += QStringLiteral("\nOptions:\n");
        for (const QCommandLineOption &option : options) {
            text += optionLine(option);
        }
    }
    if (command.takesPassword()) {
        text += passwordHelp();
    }
    return text + u'\n' + QLatin1StringView(ExitCodes);
}

QString versionText()
{
    return QStringLiteral("vaultbase-cli (Brightway Vaultbase) %1\n").arg(QLatin1StringView(Version::Number));
}
