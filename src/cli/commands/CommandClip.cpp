// vaultbase-cli clip [--field detail|content|comment] [--timeout S] FILE PATH: one field of
// an element on the clipboard, marked secret, cleared after S seconds if still there.
#include "Commands.h"
#include "Console.h"
#include "ElementPath.h"
#include "ExitCode.h"
#include "OpenDatabase.h"

#include "document/ElementTree.h"
#include "platform/CodePage.h"
#include "richtext/PlainText.h"
#include "tools/SecretClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

class ClipCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("clip"); }
    QString summary() const override
    {
        return QStringLiteral("copies a field of the element at PATH to the clipboard (marked secret for clipboard"
                              " managers), waits, clears it if it still holds the field, and exits; needs a"
                              " display");
    }
    QList<QCommandLineOption> options() const override
    {
        return {valueOption({QStringLiteral("field")},
                            QStringLiteral("detail (the default: a key's password), content or comment"),
                            QStringLiteral("FIELD")),
                valueOption({QStringLiteral("timeout")},
                            QStringLiteral("seconds before the clipboard is cleared (20)"), QStringLiteral("S"))};
    }
    QStringList arguments() const override { return {QStringLiteral("FILE"), QStringLiteral("PATH")}; }
    bool needsDisplay() const override { return true; }
    int run(const Invocation &invocation) const override;
};

namespace {

// The text of the field as the window copies it: rich text as its plain text.
std::optional<QString> fieldText(const ElementNode &node, const QString &field)
{
    const ElementData &data = node.data();
    if (field == u"detail") {
        return CodePage::toUnicode(data.Detail);
    }
    if (field == u"content") {
        return node.kind() == KindKey ? CodePage::toUnicode(data.Content) : plainUnicodeTextOf(data.Content);
    }
    if (field == u"comment") {
        return plainUnicodeTextOf(data.Comment);
    }
    return std::nullopt;
}

} // namespace

int ClipCommand::run(const Invocation &invocation) const
{
    const QString field =
        invocation.has(QStringLiteral("--field")) ? invocation.value(QStringLiteral("--field")) : QStringLiteral("detail");
    if (field != u"detail" && field != u"content" && field != u"comment") {
        Console::error(QStringLiteral("Unknown field \"%1\"; the fields are detail, content and comment.").arg(field));
        return ExitUsage;
    }
    int seconds = 20;
    if (invocation.has(QStringLiteral("--timeout"))) {
        bool ok = false;
        seconds = invocation.value(QStringLiteral("--timeout")).toInt(&ok);
        if (!ok || seconds < 1 || seconds > 24 * 3600) {
            Console::error(QStringLiteral("--timeout needs a number of seconds from 1 to 86400, not \"%1\".")
                               .arg(invocation.value(QStringLiteral("--timeout"))));
            return ExitUsage;
        }
    }
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app) {
        Console::error(QStringLiteral("No display to copy to: clip needs a desktop session (DISPLAY is not set)."));
        return ExitFailure;
    }
    if (QGuiApplication::platformName() != u"xcb") {
        Console::error(QStringLiteral("No display to copy to: cannot connect to the display \"%1\".")
                           .arg(qEnvironmentVariable("DISPLAY")));
        return ExitFailure;
    }
    ElementTree tree;
    int status = ExitOk;
    const ElementNode *node = openElement(invocation, tree, status);
    if (!node) {
        return status;
    }
    SecretClipboard clipboard(QGuiApplication::clipboard());
    clipboard.setClearSeconds(seconds);
    QObject::connect(&clipboard, &SecretClipboard::expired, app, [](bool wasHeld) {
        Console::printToStderr(wasHeld ? QStringLiteral("The clipboard is cleared.\n")
                                       : QStringLiteral("The clipboard holds something else now; it is left as it is.\n"));
        QCoreApplication::quit();
    });
    clipboard.copy(*fieldText(*node, field));
    Console::printToStderr(QStringLiteral("Copied to the clipboard; cleared in %1 seconds.\n").arg(seconds));
    QGuiApplication::exec();
    return ExitOk;
}

std::unique_ptr<CliCommand> makeClipCommand()
{
    return std::make_unique<ClipCommand>();
}
