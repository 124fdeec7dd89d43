#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class LanguageStore;
class QWidget;
class PasswordDialog;
class DatabaseWindow;
struct Settings;

// The question for a database's password, asked until the database loads with it or
// the user cancels: a password from a key file beside the database is tried first
// without asking, a wrong one says "Wrong password!" and the question comes again. A
// database refused for another reason (nested too deep, unreadable) ends the question.
// One question at a time for the whole program.
class PasswordLoop
{
public:
    PasswordLoop(PasswordDialog &dialog, const LanguageStore &language, const Settings &settings, QWidget *messageParent);

    // True while a password is being asked for (or tried).
    bool isAsking() const { return m_asking; }

    // Asks for the password of the database at path (its name shows in the dialog's
    // caption) until load() accepts the window's password. False when cancelled, when the
    // database was refused for another reason than the password, or when another question
    // is running; the window is then unmodified.
    bool run(DatabaseWindow &child, const QString &path, std::optional<QByteArray> firstTry,
             const std::function<bool()> &load);

private:
    PasswordDialog &m_dialog;
    const LanguageStore &m_language;
    const Settings &m_settings;
    QWidget *m_messageParent;
    bool m_asking = false;
};
