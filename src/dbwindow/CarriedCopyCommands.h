#pragma once

#include "editing/CarriedCopy.h"

#include <QObject>
#include <QString>

class DatabaseDocument;
class MainServices;

// The database window's "Create portable" and "Attach to file": each asks where, then
// writes the document's database into a copy of the running program (with the active
// language text) or at the end of a file the user picks (CarriedCopy). Only a saved
// database is carried, the database file itself is never the output, and a write that
// fails says why. The files are written atomically and readable by their owner only.
class CarriedCopyCommands final : public QObject
{
    Q_OBJECT

public:
    CarriedCopyCommands(DatabaseDocument &document, MainServices &main, QObject *parent = nullptr);

    // The database has a file (it was opened from one or saved) and a password.
    bool canCarry() const;
    // True when a copy was written. While the program is locked the window keeps their
    // actions disabled (updateActions).
    bool createPortable();
    bool attachToFile();

    // The program a portable copy is made from; the running program unless set.
    void setProgramPath(const QString &path) { m_programPath = path; }
    QString programPath() const;

private:
    QString askDestination(const QString &filter, const QString &proposed);
    bool writeCopy(const QString &source, const QString &destination, bool portable);
    QString problemText(const CarriedCopy::Result &result, const QString &source, const QString &destination) const;
    QString childText(const char *key) const;
    QString mainText(const char *key) const;

    DatabaseDocument &m_document;
    MainServices &m_main;
    QString m_programPath;
};
