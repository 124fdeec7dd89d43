// Watches the X clipboard for the clip test: waits until it holds text, prints that text
// and the password-manager hint, then waits until the text is gone and says so.
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QThread>

#include <cstdio>

namespace {

// Polls, letting the application answer the X server meanwhile.
template <typename Condition>
bool waitFor(Condition condition, int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > milliseconds) {
            return false;
        }
        QCoreApplication::processEvents();
        QThread::msleep(50);
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!waitFor([&] { return !clipboard->text().isEmpty(); }, 20000)) {
        std::puts("NOTHING");
        return 1;
    }
    const QString text = clipboard->text();
    const QMimeData *data = clipboard->mimeData();
    std::printf("TEXT:%s\nHINT:%s\n", text.toUtf8().constData(),
                data ? data->data(QStringLiteral("x-kde-passwordManagerHint")).constData() : "");
    std::fflush(stdout);
    std::puts(waitFor([&] { return clipboard->text() != text; }, 30000) ? "CLEARED" : "KEPT");
    return 0;
}
