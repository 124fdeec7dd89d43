// The desktop program: core dumps off, the second-start check, then the main window.

#include "shell/SecondStart.h"
#include "shell/StoragePaths.h"
#include "shell/ui/ScreenEnvironment.h"
#include "shell/ui/TFrmVaulto.h"
#include "widgets/Icons.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

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

} // namespace

int main(int argc, char *argv[])
{
    noCoreDumps();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vaultbase"));
    QApplication::setOrganizationName(QStringLiteral("Brightway"));

    const StoragePaths paths = StoragePaths::system();
    // File names relative to where this start was made: a running program that takes
    // them over works elsewhere.
    QStringList arguments;
    for (const QString &argument : QApplication::arguments().mid(1)) {
        arguments.append(QFileInfo(argument).absoluteFilePath());
    }
    if (SecondStart::check(paths, arguments) == SecondStart::Outcome::HandedOver) {
        return 0;
    }
    QApplication::setWindowIcon(Icons::application());
    try {
        TFrmVaulto window({paths, settingsEnvironmentFor(QApplication::primaryScreen(), QApplication::font()),
                           arguments});
        window.show();
        return QApplication::exec();
    } catch (const std::exception &error) {
        QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), QString::fromLocal8Bit(error.what()));
        return 1;
    }
}
