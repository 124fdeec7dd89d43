#pragma once

#include <QByteArray>
#include <QString>

// The entry that starts the program with the desktop session: the XDG autostart file
// "vaultbase.desktop" in $XDG_CONFIG_HOME/autostart (~/.config/autostart when the
// variable is unset or not an absolute path).
class AutostartEntry
{
public:
    // The entry of the current user's session.
    AutostartEntry();
    // An entry at another path (tests).
    explicit AutostartEntry(QString path) : m_path(std::move(path)) {}

    const QString &path() const { return m_path; }
    bool exists() const;

    // Writes the entry starting `program` (creating the autostart folder when missing),
    // or removes it; true when the entry is then as asked.
    bool write(const QString &program) const;
    bool remove() const;
    bool setPresent(bool present, const QString &program) const
    {
        return present ? (exists() || write(program)) : remove();
    }

    // The text of an entry that starts `program`.
    static QByteArray contents(const QString &program);
    // `program` as the Exec key holds it: quoted, with the characters the desktop entry
    // format reserves escaped, so any path starts the program it names.
    static QString execValue(const QString &program);

private:
    QString m_path;
};
