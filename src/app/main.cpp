// The desktop program: core dumps off, the second-start check, then the main window.

#include "shell/DesktopCommandLine.h"
#include "shell/SecondStart.h"
#include "shell/StoragePaths.h"
#include "shell/ui/ScreenEnvironment.h"
#include "shell/ui/MainWindow.h"
#include "widgets/Icons.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <cstdio>
#include <exception>

#include <sys/prctl.h>
#include <sys/resource.h>

namespace {

// Memory holds passwords and decrypted databases: no core file may carry them to disk.
void noCoreDumps()
{
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
    const rlimit none{0, 0};
    setrlimit(RLIMIT_CORE, &none);
}

// --version and --help answer before the application object exists, so they need no
// display (help2man runs them while the program is built).
bool printedInformation(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const DesktopCommandLine line = DesktopCommandLine::parse(arguments, QString());
    if (line.action == DesktopCommandLine::Action::Run) {
        return false;
    }
    const QString text = line.action == DesktopCommandLine::Action::PrintVersion ? DesktopCommandLine::versionText()
                                                                                 : DesktopCommandLine::helpText();
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    noCoreDumps();
    if (printedInformation(argc, argv)) {
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vaultbase"));
    QApplication::setOrganizationName(QStringLiteral("Brightway"));
    // The desktop entry the windows belong to (the Wayland application id, the dock's icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("vaultbase"));

    const StoragePaths paths = StoragePaths::system();
    // Parsed again: the application object took its own options (-platform ...) away.
    const QStringList arguments =
        DesktopCommandLine::parse(QApplication::arguments().mid(1), QDir::currentPath()).arguments;
    if (SecondStart::check(paths, arguments) == SecondStart::Outcome::HandedOver) {
        return 0;
    }
    QApplication::setWindowIcon(Icons::application());
    try {
        MainWindow window({paths, settingsEnvironmentFor(QApplication::primaryScreen(), QApplication::font()),
                           arguments});
        window.show();
        return QApplication::exec();
    } catch (const std::exception &error) {
        QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), QString::fromLocal8Bit(error.what()));
        return 1;
    }
}
