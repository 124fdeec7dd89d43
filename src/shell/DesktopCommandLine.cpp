#include "DesktopCommandLine.h"

#include "Version.h"

#include <QDir>

DesktopCommandLine DesktopCommandLine::parse(const QStringList &arguments, const QString &currentFolder)
{
    DesktopCommandLine line;
    QStringList files;
    bool newDatabase = false;
    bool switchesEnded = false;
    const QDir here(currentFolder);
    for (const QString &argument : arguments) {
        if (argument.isEmpty()) {
            continue;
        }
        if (!switchesEnded && argument == QLatin1String("--")) {
            switchesEnded = true;
        } else if (!switchesEnded && argument == QLatin1String("--version")) {
            line.action = Action::PrintVersion;
            return line;
        } else if (!switchesEnded && (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
            line.action = Action::PrintHelp;
            return line;
        } else if (!switchesEnded && argument == QLatin1String(NewDatabase)) {
            newDatabase = true;
        } else {
            // A running program that takes the files over works in another folder.
            files.append(QDir::cleanPath(here.absoluteFilePath(argument)));
        }
    }
    if (newDatabase) {
        line.arguments.append(QLatin1String(NewDatabase));
    }
    line.arguments += files;
    return line;
}

QString DesktopCommandLine::versionText()
{
    return QStringLiteral("vaultbase (Brightway Vaultbase) %1\n").arg(QLatin1String(Version::Number));
}

QString DesktopCommandLine::helpText()
{
    return QStringLiteral(
        "Usage: vaultbase [--new] [FILE]...\n"
        "Keeps passwords, PINs, notes, tables and whole files in a tree of elements inside one encrypted\n"
        "database file (.kvdb).\n"
        "\n"
        "FILE is a database to open, or a file that carries one (an attached database or a portable copy).\n"
        "Without FILE the database named in the settings opens, else a new one. With \"Only one program\n"
        "window\" on, a second start hands its files to the program that is already running.\n"
        "\n"
        "Options:\n"
        "  --new        start with a new, unnamed database (a running program makes one)\n"
        "  -h, --help   print this text and exit\n"
        "  --version    print the version and exit\n"
        "  --           every argument after it is a file\n");
}
