#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>

// The text of a PDF as pdftotext reads it; empty when pdftotext is not installed (the
// callers skip then).
inline QString pdfText(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) {
        return {};
    }
    QProcess process;
    process.start(tool, {path, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}
