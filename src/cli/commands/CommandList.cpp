// vaultbase-cli ls: one line per element in tree order, its names from the top level down
// joined by " > ".
#include "Command.h"
#include "Commands.h"
#include "Console.h"
#include "ExitCode.h"
#include "JsonTreeWriter.h"
#include "OpenDatabase.h"

#include "document/ElementTree.h"
#include "platform/CodePage.h"

namespace {

// A control character in a name is shown as "?": a name must not drive the terminal.
// export keeps every character.
void appendShownName(QByteArray &line, const QByteArray &name)
{
    QString text = CodePage::toUnicode(name);
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control) {
            c = u'?';
        }
    }
    line += text.toUtf8();
}

} // namespace

class ListCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("ls"); }
    QList<QCommandLineOption> options() const override
    {
        return {valueOption({QStringLiteral("format")},
                            QStringLiteral("text (the default) or json: {\"elements\":[{\"path\":[names],\"kind\":N,"
                                           "\"selected\":N,\"created\":T,\"modified\":T}, ...]}, no texts"),
                            QStringLiteral("FORMAT"))};
    }
    QString summary() const override
    {
        return QStringLiteral("one line per element in tree order: the names from the top level down, joined by \" > \"");
    }
    int run(const Invocation &invocation) const override;
};

namespace {

void writeJsonList(const ElementTree &tree, OutputStream &out)
{
    out.write("{\"elements\":[");
    const char *separator = "\n";
    for (const ElementNode *node = tree.firstRoot(); node; node = tree.nextInOrder(node)) {
        out.write(separator);
        writeElementJson(out, tree, node, ElementJson::Outline);
        separator = ",\n";
    }
    out.write(tree.isEmpty() ? "]}\n" : "\n]}\n");
}

} // namespace

int ListCommand::run(const Invocation &invocation) const
{
    const QString format = invocation.value(QStringLiteral("--format"));
    if (invocation.has(QStringLiteral("--format")) && format != u"json" && format != u"text") {
        Console::error(QStringLiteral("Unknown format \"%1\"; ls writes text or json.").arg(format));
        return ExitUsage;
    }
    ElementTree tree;
    if (const int status = openDatabase(invocation, tree); status != ExitOk) {
        return status;
    }
    OutputStream out;
    if (format == u"json") {
        writeJsonList(tree, out);
        if (!out.flush()) {
            Console::error(QStringLiteral("Cannot write to standard output."));
            return ExitFailure;
        }
        return ExitOk;
    }
    QByteArray line;
    for (const ElementNode *node = tree.firstRoot(); node; node = tree.nextInOrder(node)) {
        line.clear();
        const QList<QByteArray> path = tree.pathOf(node);
        for (qsizetype i = 0; i < path.size(); ++i) {
            if (i > 0) {
                line += " > ";
            }
            appendShownName(line, path[i]);
        }
        line += '\n';
        out.write(line);
    }
    if (!out.flush()) {
        Console::error(QStringLiteral("Cannot write to standard output."));
        return ExitFailure;
    }
    return ExitOk;
}

std::unique_ptr<CliCommand> makeListCommand()
{
    return std::make_unique<ListCommand>();
}
