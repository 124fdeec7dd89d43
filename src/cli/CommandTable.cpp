#include "CommandTable.h"

#include "Commands.h"

const std::vector<OptionSpec> &passwordOptions()
{
    static const std::vector<OptionSpec> options{
        {"--password-stdin", nullptr, "read the password from one line of standard input"},
        {"--key-file", "PATH", "take the password from a key file"},
    };
    return options;
}

const std::vector<CommandSpec> &commandTable()
{
    static const std::vector<CommandSpec> table{
        {"ls", "", "one line per element in tree order: the names from the top level down, joined by \" > \"",
         {}, true, runList},
        {"export", "--format json",
         "the whole tree as JSON on standard output (texts decoded from the code page, RTF as stored)",
         {{"--format", "FORMAT", "the output format: json"}}, true, runExport},
        {"import", "--from TREE.json [--text-form] [--force]",
         "write a new database from JSON made by export",
         {{"--from", "TREE.json", "the JSON to read"},
          {"--text-form", nullptr, "write the text table stream instead of the binary one"},
          {"--force", nullptr, "replace FILE when it exists"}},
         true, runImport},
    };
    return table;
}

const CommandSpec *findCommand(QStringView name)
{
    for (const CommandSpec &command : commandTable()) {
        if (name == QLatin1StringView(command.name)) {
            return &command;
        }
    }
    return nullptr;
}

namespace {

QString optionLine(const OptionSpec &option)
{
    QString left = QLatin1StringView(option.name);
    if (option.valueName) {
        left += u' ' + QLatin1StringView(option.valueName);
    }
    return QStringLiteral("      %1  %2\n").arg(left, -18).arg(QLatin1StringView(option.help));
}

} // namespace

QString usageText()
{
    QString text = QStringLiteral("Usage: vaultbase-cli COMMAND [OPTIONS] FILE\n"
                                  "Options come before FILE; \"--\" ends them.\n\nCommands:\n");
    for (const CommandSpec &command : commandTable()) {
        QString call = QStringLiteral("  vaultbase-cli ") + QLatin1StringView(command.name);
        if (*command.synopsis) {
            call += u' ' + QLatin1StringView(command.synopsis);
        }
        if (command.takesPassword) {
            call += QStringLiteral(" [PASSWORD]");
        }
        text += call + QStringLiteral(" FILE\n      ") + QString::fromUtf8(command.summary) + u'\n';
        for (const OptionSpec &option : command.options) {
            text += optionLine(option);
        }
    }
    text += QStringLiteral("\nPASSWORD (without it the password is asked on the terminal, not echoed):\n");
    for (const OptionSpec &option : passwordOptions()) {
        text += optionLine(option);
    }
    text += QStringLiteral("\n  vaultbase-cli --help    this text\n"
                           "Exit codes: 0 success, 1 failure (wrong password, unreadable file, refused content),"
                           " 2 usage error.\n");
    return text;
}
