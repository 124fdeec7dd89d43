#pragma once

#include "document/DatabaseFile.h"
#include "document/ElementTree.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTest>

#include <csignal>
#include <unistd.h>

namespace vaultbase::test {

// One finished run of vaultbase-cli.
struct CliResult {
    int exitCode = -1;
    bool crashed = false;
    QByteArray out;
    QByteArray err;
};

// Runs the tool in a session of its own, so it has no controlling terminal and can never
// stop to ask for a password on the terminal the tests run in.
inline CliResult runCli(const QStringList &arguments, const QByteArray &input = {},
                        const QString &workingDirectory = {})
{
    // A tool that refuses early closes its input unread; feeding it must not end the test.
    ::signal(SIGPIPE, SIG_IGN);
    QProcess process;
    process.setChildProcessModifier([] { ::setsid(); });
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(VAULTBASE_CLI_PATH), arguments);
    CliResult result;
    if (!process.waitForStarted()) {
        return result;
    }
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    result.crashed = process.exitStatus() != QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

inline ElementNode *addElement(ElementTree &tree, ElementNode *parent, const QByteArray &name, qint32 kind,
                               ElementData data = {})
{
    if (data.Created.isEmpty()) {
        data.Created = "2024-03-01 08:00:00";
        data.Modified = "2024-03-02 09:30:00";
    }
    return tree.insertElement(parent, name, kind, selectedCodeFor(kind), std::move(data));
}

inline QJsonArray exportedElements(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (document.isNull()) {
        qWarning() << "export is no JSON:" << error.errorString() << "at" << error.offset;
    }
    return document.object().value(QStringLiteral("elements")).toArray();
}

} // namespace vaultbase::test
