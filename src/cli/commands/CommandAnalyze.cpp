// vaultbase-cli analyze [--days N] [--format json] FILE: the health of the keys' passwords:
// reused, at risk by the strength rating, old, empty. Passwords are never printed.
#include "Commands.h"
#include "Console.h"
#include "ElementPath.h"
#include "ExitCode.h"
#include "JsonTreeWriter.h"
#include "OpenDatabase.h"
#include "TerminalText.h"

#include "document/ElementTree.h"
#include "shell/LanguageStore.h"
#include "tools/PasswordRisks.h"
#include "tools/PropertiesTexts.h"

#include <QDateTime>
#include <QHash>

class AnalyzeCommand : public CliCommand
{
public:
    QString name() const override { return QStringLiteral("analyze"); }
    QString summary() const override
    {
        return QStringLiteral(
            "a health report of the keys' passwords, one finding a line: \"reused\" and the paths of the keys that"
            " share a password, \"risks\" with the rules a password fails, \"old\" with the days since the key was"
            " modified, \"empty\"; fields separated by tabs. Passwords are never printed");
    }
    QList<QCommandLineOption> options() const override
    {
        return {valueOption({QStringLiteral("days")},
                            QStringLiteral("a password is old when its key was not modified for N days (365)"),
                            QStringLiteral("N")),
                valueOption({QStringLiteral("format")},
                            QStringLiteral("text (the default) or json: {\"reused\":[[path, ...]], \"risks\":[{\"path\","
                                           "\"risks\"}], \"old\":[{\"path\",\"days\"}], \"empty\":[path]}, a path"
                                           " being the array of its names"),
                            QStringLiteral("FORMAT"))};
    }
    int run(const Invocation &invocation) const override;
};

namespace {

// The findings, each list in tree order.
struct Report {
    QList<QList<const ElementNode *>> reused;
    QList<std::pair<const ElementNode *, QList<PasswordRisk>>> risks;
    QList<std::pair<const ElementNode *, qint64>> old;
    QList<const ElementNode *> empty;
};

Report analyze(const ElementTree &tree, int days, const QDateTime &now)
{
    Report report;
    QHash<QByteArray, qsizetype> groupOf; // password -> index in sharing
    QList<QList<const ElementNode *>> sharing;
    for (const ElementNode *node = tree.firstRoot(); node; node = tree.nextInOrder(node)) {
        if (node->kind() != KindKey) {
            continue;
        }
        const QByteArray &password = node->data().Detail;
        if (password.isEmpty()) {
            report.empty += node;
            continue;
        }
        const auto found = groupOf.constFind(password);
        if (found == groupOf.constEnd()) {
            groupOf.insert(password, sharing.size());
            sharing.append({node});
        } else {
            sharing[*found] += node;
        }
        if (const QList<PasswordRisk> risks = passwordRiskList(password); !risks.isEmpty()) {
            report.risks.append({node, risks});
        }
        const QDateTime modified =
            QDateTime::fromString(QString::fromLatin1(node->data().Modified), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (modified.isValid()) {
            const qint64 age = modified.daysTo(now);
            if (age >= days) {
                report.old.append({node, age});
            }
        }
    }
    for (const QList<const ElementNode *> &group : sharing) {
        if (group.size() > 1) {
            report.reused += group;
        }
    }
    return report;
}

// A rule's text without the list mark the properties window shows before it.
QByteArray ruleText(PasswordRisk risk, const LanguageStore &language)
{
    QByteArray text = language.text(propertiesTexts(), riskTextKey(risk)).trimmed();
    if (text.startsWith("- ")) {
        text.remove(0, 2);
    }
    return text;
}

QByteArray riskText(PasswordRisk risk, const LanguageStore &language)
{
    return terminalText(ruleText(risk, language));
}

QByteArray riskTexts(const QList<PasswordRisk> &risks, const LanguageStore &language)
{
    QByteArrayList texts;
    for (PasswordRisk risk : risks) {
        texts += riskText(risk, language);
    }
    return texts.join("; ");
}

QByteArray pathText(const ElementTree &tree, const ElementNode *node)
{
    return terminalUnicodeText(shownPath(tree, node));
}

void writeText(const ElementTree &tree, const Report &report, OutputStream &out)
{
    const LanguageStore language;
    for (const auto &group : report.reused) {
        QByteArray line = "reused";
        for (const ElementNode *node : group) {
            line += '\t' + pathText(tree, node);
        }
        out.write(line + '\n');
    }
    for (const auto &[node, risks] : report.risks) {
        out.write("risks\t" + pathText(tree, node) + '\t' + riskTexts(risks, language) + '\n');
    }
    for (const auto &[node, days] : report.old) {
        out.write("old\t" + pathText(tree, node) + '\t' + QByteArray::number(days) + " days\n");
    }
    for (const ElementNode *node : report.empty) {
        out.write("empty\t" + pathText(tree, node) + '\n');
    }
}

void writeJson(const ElementTree &tree, const Report &report, OutputStream &out)
{
    const LanguageStore language;
    auto list = [&out](const char *name, const auto &items, const auto &writeItem) {
        if (name) {
            out.write(QByteArray("\"") + name + "\":");
        }
        out.put('[');
        const char *separator = "";
        for (const auto &item : items) {
            out.write(separator);
            writeItem(item);
            separator = ",";
        }
        out.put(']');
    };
    out.put('{');
    list("reused", report.reused, [&](const QList<const ElementNode *> &group) {
        list(nullptr, group, [&](const ElementNode *node) { writeJsonPath(out, tree, node); });
    });
    out.put(',');
    list("risks", report.risks, [&](const auto &item) {
        out.write("{\"path\":");
        writeJsonPath(out, tree, item.first);
        out.write(",\"risks\":[");
        const char *separator = "";
        for (PasswordRisk risk : item.second) {
            out.write(separator);
            writeJsonString(out, ruleText(risk, language));
            separator = ",";
        }
        out.write("]}");
    });
    out.put(',');
    list("old", report.old, [&](const auto &item) {
        out.write("{\"path\":");
        writeJsonPath(out, tree, item.first);
        out.write(",\"days\":" + QByteArray::number(item.second) + "}");
    });
    out.put(',');
    list("empty", report.empty, [&](const ElementNode *node) { writeJsonPath(out, tree, node); });
    out.write("}\n");
}

} // namespace

int AnalyzeCommand::run(const Invocation &invocation) const
{
    int days = 365;
    if (invocation.has(QStringLiteral("--days"))) {
        bool ok = false;
        days = invocation.value(QStringLiteral("--days")).toInt(&ok);
        if (!ok || days < 0) {
            Console::error(QStringLiteral("--days needs a whole number of days, not \"%1\".")
                               .arg(invocation.value(QStringLiteral("--days"))));
            return ExitUsage;
        }
    }
    const QString format = invocation.value(QStringLiteral("--format"));
    if (invocation.has(QStringLiteral("--format")) && format != u"json" && format != u"text") {
        Console::error(QStringLiteral("Unknown format \"%1\"; analyze writes text or json.").arg(format));
        return ExitUsage;
    }
    ElementTree tree;
    if (const int status = openDatabase(invocation, tree); status != ExitOk) {
        return status;
    }
    const Report report = analyze(tree, days, QDateTime::currentDateTime());
    OutputStream out;
    if (format == u"json") {
        writeJson(tree, report, out);
    } else {
        writeText(tree, report, out);
    }
    if (!out.flush()) {
        Console::error(QStringLiteral("Cannot write to standard output."));
        return ExitFailure;
    }
    return ExitOk;
}

std::unique_ptr<CliCommand> makeAnalyzeCommand()
{
    return std::make_unique<AnalyzeCommand>();
}
