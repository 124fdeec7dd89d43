// vaultbase-cli info [--algorithm NAME] FILE: the properties summary of a database: file
// name, folder, size and date, the checksum when asked for, the counts of elements by
// kind, the password's length and its risks.
#include "Command.h"
#include "Commands.h"
#include "Console.h"
#include "DigestNames.h"
#include "ExitCode.h"
#include "OpenDatabase.h"
#include "TerminalText.h"

#include "document/ElementTree.h"
#include "shell/LanguageStore.h"
#include "tools/DatabaseProperties.h"
#include "tools/FileChecksum.h"
#include "tools/PasswordRisks.h"
#include "tools/PropertiesTexts.h"

#include <QFileInfo>

class InfoCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("info"); }
    QString summary() const override
    {
        return QStringLiteral("the properties of a database: file name, folder, size, date, elements by kind, password length and "
                              "risks");
    }
    QList<QCommandLineOption> options() const override
    {
        return {valueOption({QStringLiteral("algorithm")}, QStringLiteral("add the file's checksum (names as for checksum)"), QStringLiteral("NAME"))};
    }
    int run(const Invocation &invocation) const override;
};

int InfoCommand::run(const Invocation &invocation) const
{
    const std::optional<DigestAlgorithm> algorithm = algorithmOption(invocation, false);
    if (!algorithm) {
        return ExitUsage;
    }
    ElementTree tree;
    std::optional<Password> password;
    if (const int status = openDatabase(invocation, tree, &password); status != ExitOk) {
        return status;
    }
    const QString path = QFileInfo(invocation.file).absoluteFilePath();
    const QString digest = checksum(path, *algorithm);
    const LanguageStore language;
    const QList<PropertiesLine> lines = propertiesSummaryLines(
        fileFactsOf(path), QLatin1StringView(digestItemText(*algorithm)), digest, countElements(tree), language);
    QString text;
    for (const PropertiesLine &line : lines) {
        text += line.caption + QStringLiteral(" - ") + line.value + u'\n';
    }
    const LanguageSection &texts = propertiesTexts();
    text += language.uiText(texts, "LblPasswordLen") + QStringLiteral(" - ")
        + QString::number(password->bytes().size()) + u'\n';
    text += language.uiText(texts, "LblPasswordRisk") + u'\n';
    QByteArray risks = terminalText(passwordRisks(password->bytes(), language));
    if (!risks.endsWith('\n')) {
        risks += '\n';
    }
    OutputStream out;
    out.write(text.toUtf8() + risks);
    if (!out.flush()) {
        Console::error(QStringLiteral("Cannot write to standard output."));
        return ExitFailure;
    }
    return ExitOk;
}

std::unique_ptr<CliCommand> makeInfoCommand()
{
    return std::make_unique<InfoCommand>();
}
