#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What the main window does with files dropped onto it, in the order dropped: a
// database (".kvdb", any case) is opened in a window of its own and ends the list;
// every file before it is attached to the active database.
namespace DroppedFiles {

struct Step
{
    enum Kind { OpenDatabase, AttachFile };
    Kind kind;
    QString path;
    bool operator==(const Step &) const = default;
};

bool isDatabasePath(const QString &path);

QList<Step> plan(const QStringList &paths);

} // namespace DroppedFiles
