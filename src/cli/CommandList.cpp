// vaultbase-cli ls: one line per element in tree order, its names from the top level down
// joined by " > ".
#include "Command.h"
#include "Commands.h"
#include "Console.h"
#include "ExitCode.h"
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

int runList(const Invocation &invocation)
{
    ElementTree tree;
    if (const int status = openDatabase(invocation, tree); status != ExitOk) {
        return status;
    }
    OutputStream out;
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
