#include "ElementFields.h"

#include "Console.h"
#include "DatabaseChange.h"
#include "ExitCode.h"
#include "GeneratedPassword.h"
#include "PasswordInput.h"

#include "document/ElementData.h"
#include "platform/Clock.h"


namespace ElementFields {

QList<QCommandLineOption> options()
{
    return {valueOption({QStringLiteral("username")}, QStringLiteral("a key's user name"), QStringLiteral("U")),
            flagOption({QStringLiteral("password-prompt")},
                       QStringLiteral("ask a key's password twice on the terminal (without a terminal: the next line "
                                      "of standard input)")),
            flagOption({QStringLiteral("generate")},
                       QStringLiteral("a new random password for the key (see --length and the --no-... options)")),
            valueOption({QStringLiteral("length")}, QStringLiteral("with --generate: the number of characters (8)"),
                        QStringLiteral("N")),
            flagOption({QStringLiteral("no-lower")}, QStringLiteral("with --generate: no lowercase letters")),
            flagOption({QStringLiteral("no-upper")}, QStringLiteral("with --generate: no uppercase letters")),
            flagOption({QStringLiteral("no-digits")}, QStringLiteral("with --generate: no digits")),
            flagOption({QStringLiteral("no-other")}, QStringLiteral("with --generate: no other characters")),
            valueOption({QStringLiteral("comment")}, QStringLiteral("a key's comment"), QStringLiteral("C")),
            valueOption({QStringLiteral("content")},
                        QStringLiteral("the text of an entry, a folder or a table"), QStringLiteral("TEXT"))};
}

namespace {

bool usesGeneratorOptions(const Invocation &invocation)
{
    for (const char *name : {"--length", "--no-lower", "--no-upper", "--no-digits", "--no-other"}) {
        if (invocation.has(QLatin1StringView(name))) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<Values> read(const Invocation &invocation, const DatabaseChange &change, const QString &path,
                           qint32 kind, int *status)
{
    *status = ExitUsage;
    const bool prompt = invocation.has(QStringLiteral("--password-prompt"));
    const bool generate = invocation.has(QStringLiteral("--generate"));
    if (prompt && generate) {
        Console::error(QStringLiteral("--password-prompt and --generate exclude each other."));
        return std::nullopt;
    }
    if (!generate && usesGeneratorOptions(invocation)) {
        Console::error(QStringLiteral("--length and the --no-... options go with --generate."));
        return std::nullopt;
    }
    const bool isKey = kind == KindKey;
    const bool keyFields = prompt || generate || invocation.has(QStringLiteral("--username"))
        || invocation.has(QStringLiteral("--comment"));
    if (isKey ? invocation.has(QStringLiteral("--content")) : keyFields) {
        Console::error(isKey ? QStringLiteral("A key has no --content: its fields are --username, the password and"
                                              " --comment.")
                             : QStringLiteral("Only a key has a user name, a password and a comment; give --content."));
        return std::nullopt;
    }
    *status = ExitFailure;
    Values values;
    const struct {
        const char *option;
        const char *what;
        std::optional<QByteArray> Values::*field;
    } texts[] = {{"--username", "the user name", &Values::userName},
                 {"--comment", "the comment", &Values::comment},
                 {"--content", "the text", &Values::content}};
    for (const auto &text : texts) {
        if (invocation.has(QLatin1StringView(text.option))) {
            values.*text.field = change.codePageText(path, QLatin1StringView(text.what),
                                                     invocation.value(QLatin1StringView(text.option)));
            if (!(values.*text.field)) {
                return std::nullopt;
            }
        }
    }
    if (generate) {
        values.password = generatedPassword(invocation, *status);
        if (!values.password) {
            return std::nullopt;
        }
    } else if (prompt) {
        std::optional<Password> password = askNewPassword(QStringLiteral("Password for %1: ").arg(path));
        if (!password) {
            return std::nullopt;
        }
        values.password = password->bytes().toByteArray();
    }
    return values;
}

void apply(const Values &values, ElementData &data)
{
    if (values.userName) {
        data.Content = *values.userName;
    }
    if (values.password) {
        data.Detail = *values.password;
    }
    if (values.comment) {
        data.Comment = *values.comment;
    }
    if (values.content) {
        data.Content = *values.content;
    }
    if (values.any()) {
        data.touch(SystemClock::instance());
    }
}

} // namespace ElementFields
