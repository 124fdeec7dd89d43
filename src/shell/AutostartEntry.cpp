#include "AutostartEntry.h"

#include "Version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString configHome()
{
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is to be ignored, as the XDG base directories say.
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured)) {
        return configured;
    }
    return QDir::homePath() + QStringLiteral("/.config");
}

} // namespace

AutostartEntry::AutostartEntry() : m_path(configHome() + QStringLiteral("/autostart/vaultbase.desktop"))
{
}

bool AutostartEntry::exists() const
{
    return QFileInfo(m_path).isFile();
}

bool AutostartEntry::write(const QString &program) const
{
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        return false;
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QByteArray text = contents(program);
    return file.write(text) == text.size() && file.commit();
}

bool AutostartEntry::remove() const
{
    return !QFileInfo::exists(m_path) || QFile::remove(m_path);
}

QByteArray AutostartEntry::contents(const QString &program)
{
    return QByteArrayLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=")
           + QByteArray(ProgramName)
           + "\nExec=" + execValue(program).toUtf8()
           + "\nTerminal=false\n"
             "X-GNOME-Autostart-enabled=true\n";
}

QString AutostartEntry::execValue(const QString &program)
{
    // Inside the quotes '"', '`', '$' and '\' take a backslash; the value as a whole is
    // a string whose own escapes double every backslash; '%' starts a field code.
    QString quoted;
    for (const QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\')) {
            quoted += QLatin1Char('\\');
        }
        quoted += c;
    }
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    quoted.replace(QLatin1Char('%'), QLatin1String("%%"));
    quoted.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
