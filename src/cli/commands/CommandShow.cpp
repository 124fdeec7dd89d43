// vaultbase-cli show [--field content|detail|comment] [--raw] FILE PATH: the fields of one
// element, or one field's text.
#include "Command.h"
#include "Commands.h"
#include "Console.h"
#include "ElementPath.h"
#include "ExitCode.h"
#include "JsonTreeWriter.h"
#include "OpenDatabase.h"
#include "TerminalText.h"

#include "document/ElementTree.h"
#include "document/TableElement.h"
#include "document/Table.h"
#include "richtext/PlainText.h"

namespace {

enum class Field { Content, Detail, Comment };

std::optional<Field> fieldNamed(const QString &name)
{
    if (name == u"content") {
        return Field::Content;
    }
    if (name == u"detail") {
        return Field::Detail;
    }
    if (name == u"comment") {
        return Field::Comment;
    }
    return std::nullopt;
}

// Stored rich text: the comment of keys and the content of every other kind (a key's
// content is its user name, plain by nature, and detail is a password or a file name).
bool holdsRichText(const ElementNode &node, Field field)
{
    return field == Field::Comment || (field == Field::Content && node.kind() != KindKey);
}

QByteArray fieldText(const ElementNode &node, Field field, bool raw)
{
    const ElementData &data = node.data();
    const QByteArray &stored = field == Field::Content ? data.Content
        : field == Field::Detail                       ? data.Detail
                                                       : data.Comment;
    if (raw) {
        return terminalText(stored, true);
    }
    // The plain text of rich text goes to the terminal in full Unicode, not through the
    // code page as the export writes it.
    return holdsRichText(node, field) ? terminalUnicodeText(plainUnicodeTextOf(stored)) : terminalText(stored);
}

QByteArray endedLine(QByteArray text)
{
    if (!text.endsWith('\n')) {
        text += '\n';
    }
    return text;
}

const char *kindName(qint32 kind)
{
    switch (kind) {
    case KindFolder:
        return "folder";
    case KindEntry:
        return "entry";
    case KindKey:
        return "key";
    case KindFile:
        return "file";
    case KindTable:
        return "table";
    default:
        return nullptr;
    }
}

// "Label: value" for a one-line value, else "Label:" and the lines indented.
QByteArray labelled(const char *label, QByteArray value)
{
    if (value.endsWith('\n')) {
        value.chop(1);
    }
    if (!value.contains('\n')) {
        return QByteArray(label) + ": " + value + '\n';
    }
    return QByteArray(label) + ":\n  " + value.replace("\n", "\n  ") + '\n';
}

QByteArray tableRows(const ElementNode &node)
{
    TableElement::GridSettings settings;
    Table grid;
    if (!node.data().Blob || !TableElement::read(*node.data().Blob, settings, grid)) {
        return "(no grid)";
    }
    QByteArray rows;
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            rows += (c > 0 ? "\t" : "") + terminalText(grid.getCell(c, r));
        }
        rows += '\n';
    }
    return rows;
}

QByteArray overview(const ElementTree &tree, const ElementNode &node, bool raw)
{
    QByteArray out = labelled("Path", terminalText(tree.pathOf(&node).join(" > ")));
    const char *kind = kindName(node.kind());
    out += labelled("Kind", kind ? QByteArray(kind) : "code " + QByteArray::number(node.kind()));
    switch (node.kind()) {
    case KindKey:
        out += labelled("User name", fieldText(node, Field::Content, raw));
        out += labelled("Password", fieldText(node, Field::Detail, raw));
        out += labelled("Comment", fieldText(node, Field::Comment, raw));
        break;
    case KindFile:
        out += labelled("File name", fieldText(node, Field::Detail, raw));
        out += labelled("File size", QByteArray::number(node.data().BlobSize) + " bytes");
        out += labelled("Description", fieldText(node, Field::Content, raw));
        break;
    case KindTable:
        out += labelled("Text", fieldText(node, Field::Content, raw));
        out += labelled("Table", tableRows(node));
        break;
    default:
        out += labelled("Text", fieldText(node, Field::Content, raw));
        break;
    }
    out += labelled("Created", terminalText(node.data().Created));
    out += labelled("Modified", terminalText(node.data().Modified));
    return out;
}

} // namespace

class ShowCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("show"); }
    QString summary() const override
    {
        return QStringLiteral("the fields of the element at PATH (names joined by \" > \", as ls prints them); rich text as the "
                              "editor shows it");
    }
    QList<QCommandLineOption> options() const override
    {
        return {valueOption({QStringLiteral("field")}, QStringLiteral("only this field's text: content, detail or comment"), QStringLiteral("FIELD")),
                flagOption({QStringLiteral("raw")}, QStringLiteral("rich text as stored (RTF)")),
                valueOption({QStringLiteral("format")}, QStringLiteral("json: the element as export writes it, one object"), QStringLiteral("FORMAT"))};
    }
    QStringList arguments() const override { return {QStringLiteral("FILE"), QStringLiteral("PATH")}; }
    int run(const Invocation &invocation) const override;
};

int ShowCommand::run(const Invocation &invocation) const
{
    std::optional<Field> field;
    if (invocation.has(QStringLiteral("--field"))) {
        field = fieldNamed(invocation.value(QStringLiteral("--field")));
        if (!field) {
            Console::error(QStringLiteral("Unknown field \"%1\"; the fields are content, detail and comment.")
                               .arg(invocation.value(QStringLiteral("--field"))));
            return ExitUsage;
        }
    }
    const QString format = invocation.value(QStringLiteral("--format"));
    if (invocation.has(QStringLiteral("--format")) && format != u"json" && format != u"text") {
        Console::error(QStringLiteral("Unknown format \"%1\"; show writes text or json.").arg(format));
        return ExitUsage;
    }
    if (format == u"json" && (field || invocation.has(QStringLiteral("--raw")))) {
        Console::error(QStringLiteral("--format json shows the whole element: no --field, no --raw."));
        return ExitUsage;
    }
    ElementTree tree;
    int status = ExitOk;
    const ElementNode *node = openElement(invocation, tree, status);
    if (!node) {
        return status;
    }
    const bool raw = invocation.has(QStringLiteral("--raw"));
    OutputStream out;
    if (format == u"json") {
        writeElementJson(out, tree, node, ElementJson::Whole);
        out.put('\n');
    } else {
        out.write(field ? endedLine(fieldText(*node, *field, raw)) : overview(tree, *node, raw));
    }
    if (!out.flush()) {
        Console::error(QStringLiteral("Cannot write to standard output."));
        return ExitFailure;
    }
    return ExitOk;
}

std::unique_ptr<CliCommand> makeShowCommand()
{
    return std::make_unique<ShowCommand>();
}
