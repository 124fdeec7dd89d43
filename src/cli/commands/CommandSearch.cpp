// vaultbase-cli search [--case] FILE TEXT: the paths of the elements Find entry finds.
#include "Commands.h"
#include "Console.h"
#include "ElementPath.h"
#include "ExitCode.h"
#include "OpenDatabase.h"
#include "TerminalText.h"

#include "document/ElementTree.h"
#include "editing/ElementSearch.h"
#include "platform/CodePage.h"

class SearchCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("search"); }
    QString summary() const override
    {
        return QStringLiteral("the path of every element whose name, user name, comment or text holds TEXT, or"
                              " a table with a cell that is TEXT, one a line in tree order (as Find entry"
                              " searches; passwords are never searched)");
    }
    QList<QCommandLineOption> options() const override
    {
        return {flagOption({QStringLiteral("case")},
                           QStringLiteral("match case (without it, A to Z and a to z are the same)"))};
    }
    QStringList arguments() const override { return {QStringLiteral("FILE"), QStringLiteral("TEXT")}; }
    int run(const Invocation &invocation) const override;
};

int SearchCommand::run(const Invocation &invocation) const
{
    bool ok = false;
    const QByteArray text = CodePage::fromUnicode(invocation.argument(1), &ok);
    if (!ok) {
        Console::error(QStringLiteral("%1: the search text holds a character the code page (Windows-1252) cannot"
                                      " carry.")
                           .arg(invocation.file));
        return ExitFailure;
    }
    ElementTree tree;
    if (const int status = openDatabase(invocation, tree); status != ExitOk) {
        return status;
    }
    const ElementSearch::Pattern pattern(text, invocation.has(QStringLiteral("--case")));
    OutputStream out;
    for (const ElementNode *node = tree.firstRoot(); node; node = tree.nextInOrder(node)) {
        if (ElementSearch::matches(*node, pattern)) {
            // A name must not drive the terminal: control characters are shown as "?".
            out.write(terminalUnicodeText(shownPath(tree, node)) + '\n');
        }
    }
    if (!out.flush()) {
        Console::error(QStringLiteral("Cannot write to standard output."));
        return ExitFailure;
    }
    return ExitOk;
}

std::unique_ptr<CliCommand> makeSearchCommand()
{
    return std::make_unique<SearchCommand>();
}
