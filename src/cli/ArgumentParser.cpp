#include "ArgumentParser.h"

#include "CommandTable.h"

namespace {

bool isHelp(const QString &argument)
{
    return argument == u"--help" || argument == u"-h";
}

const OptionSpec *findOption(const CommandSpec &command, QStringView name)
{
    auto find = [&](const std::vector<OptionSpec> &options) -> const OptionSpec * {
        for (const OptionSpec &option : options) {
            if (name == QLatin1StringView(option.name)) {
                return &option;
            }
        }
        return nullptr;
    };
    if (const OptionSpec *option = find(command.options)) {
        return option;
    }
    return command.takesPassword ? find(passwordOptions()) : nullptr;
}

ParsedArguments usageError(QString error)
{
    ParsedArguments parsed;
    parsed.error = std::move(error);
    return parsed;
}

} // namespace

ParsedArguments parseArguments(const QStringList &arguments)
{
    if (arguments.size() < 2) {
        return usageError(QStringLiteral("No command given."));
    }
    if (isHelp(arguments[1])) {
        ParsedArguments parsed;
        parsed.outcome = ParsedArguments::Help;
        return parsed;
    }
    ParsedArguments parsed;
    parsed.command = findCommand(arguments[1]);
    if (!parsed.command) {
        return usageError(QStringLiteral("Unknown command \"%1\".").arg(arguments[1]));
    }
    Invocation &invocation = parsed.invocation;
    invocation.command = arguments[1];
    qsizetype i = 2;
    for (; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"--") {
            ++i;
            break;
        }
        if (isHelp(argument)) {
            parsed.outcome = ParsedArguments::Help;
            return parsed;
        }
        if (!argument.startsWith(u'-') || argument == u"-") {
            break;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = equals < 0 ? argument : argument.first(equals);
        const OptionSpec *option = findOption(*parsed.command, name);
        if (!option) {
            return usageError(QStringLiteral("Unknown option \"%1\" for %2.").arg(name, invocation.command));
        }
        if (invocation.has(name)) {
            return usageError(QStringLiteral("The option %1 is given twice.").arg(name));
        }
        QString value;
        if (!option->valueName) {
            if (equals >= 0) {
                return usageError(QStringLiteral("The option %1 takes no value.").arg(name));
            }
        } else if (equals >= 0) {
            value = argument.sliced(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return usageError(QStringLiteral("The option %1 needs %2.").arg(name, QLatin1StringView(option->valueName)));
        }
        invocation.options.insert(name, value);
    }
    if (i >= arguments.size()) {
        return usageError(QStringLiteral("No FILE given."));
    }
    if (i + 1 < arguments.size()) {
        return usageError(QStringLiteral("Unexpected \"%1\" after FILE: options come before the file name.")
                              .arg(arguments[i + 1]));
    }
    invocation.file = arguments[i];
    if (invocation.file.isEmpty()) {
        return usageError(QStringLiteral("FILE is empty."));
    }
    if (invocation.has(QStringLiteral("--password-stdin")) && invocation.has(QStringLiteral("--key-file"))) {
        return usageError(QStringLiteral("--password-stdin and --key-file exclude each other."));
    }
    parsed.outcome = ParsedArguments::Run;
    return parsed;
}
