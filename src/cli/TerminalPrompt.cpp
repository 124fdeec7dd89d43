#include "TerminalPrompt.h"

#include "SecretLine.h"

#include <array>
#include <csignal>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// What a signal handler needs to put the terminal back. Signal handlers cannot reach an
// object, so this is file-scope state, live only while echo is off.
struct EchoState {
    int fd = -1;
    termios saved{};
    volatile sig_atomic_t active = 0;
};
EchoState g_echo;

constexpr std::array<int, 4> kEndingSignals{SIGINT, SIGTERM, SIGQUIT, SIGHUP};
std::array<struct sigaction, kEndingSignals.size()> g_previousEnding;
struct sigaction g_previousStop;

termios withoutEcho(termios settings)
{
    settings.c_lflag &= ~tcflag_t(ECHO);
    settings.c_lflag |= ECHONL; // the Enter still moves to the next line
    return settings;
}

void restoreEcho()
{
    if (g_echo.active) {
        ::tcsetattr(g_echo.fd, TCSAFLUSH, &g_echo.saved);
    }
}

// Installed with SA_RESETHAND: after the terminal is back, the re-raised signal (delivered
// when the handler returns) takes its default course.
void onEndingSignal(int signal)
{
    restoreEcho();
    ::raise(signal);
}

// Installed with SA_NODEFER: the re-raised SIGTSTP stops the process right here; on SIGCONT
// the prompt goes on without echo.
void onStopSignal(int)
{
    restoreEcho();
    struct sigaction stop {};
    stop.sa_handler = SIG_DFL;
    ::sigaction(SIGTSTP, &stop, nullptr);
    ::raise(SIGTSTP);
    stop.sa_handler = onStopSignal;
    stop.sa_flags = SA_NODEFER | SA_RESTART;
    ::sigaction(SIGTSTP, &stop, nullptr);
    if (g_echo.active) {
        // TCSANOW: what is typed after the resume is part of the password.
        const termios quiet = withoutEcho(g_echo.saved);
        ::tcsetattr(g_echo.fd, TCSANOW, &quiet);
    }
}

void installHandlers()
{
    struct sigaction ending {};
    ending.sa_handler = onEndingSignal;
    ending.sa_flags = SA_RESETHAND;
    sigemptyset(&ending.sa_mask);
    for (size_t i = 0; i < kEndingSignals.size(); ++i) {
        ::sigaction(kEndingSignals[i], &ending, &g_previousEnding[i]);
    }
    struct sigaction stop {};
    stop.sa_handler = onStopSignal;
    stop.sa_flags = SA_NODEFER | SA_RESTART;
    sigemptyset(&stop.sa_mask);
    ::sigaction(SIGTSTP, &stop, &g_previousStop);
}

void removeHandlers()
{
    for (size_t i = 0; i < kEndingSignals.size(); ++i) {
        ::sigaction(kEndingSignals[i], &g_previousEnding[i], nullptr);
    }
    ::sigaction(SIGTSTP, &g_previousStop, nullptr);
}

// Echo off for the life of the object.
class EchoOff
{
public:
    explicit EchoOff(int fd)
    {
        termios saved{};
        if (::tcgetattr(fd, &saved) != 0) {
            return;
        }
        g_echo.fd = fd;
        g_echo.saved = saved;
        installHandlers();
        g_echo.active = 1;
        const termios quiet = withoutEcho(saved);
        m_ok = ::tcsetattr(fd, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff()
    {
        if (!g_echo.active) {
            return;
        }
        restoreEcho();
        g_echo.active = 0;
        removeHandlers();
    }
    EchoOff(const EchoOff &) = delete;
    EchoOff &operator=(const EchoOff &) = delete;

    bool ok() const { return m_ok; }

private:
    bool m_ok = false;
};

} // namespace

bool TerminalPrompt::open()
{
    m_fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    return m_fd >= 0;
}

TerminalPrompt::~TerminalPrompt()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

std::optional<QByteArray> TerminalPrompt::ask(const QString &prompt)
{
    if (m_fd < 0) {
        return std::nullopt;
    }
    std::optional<QByteArray> line;
    {
        // Echo goes off before the prompt shows: nothing typed after it is ever echoed.
        EchoOff echoOff(m_fd);
        const QByteArray text = prompt.toUtf8();
        if (!echoOff.ok() || ::write(m_fd, text.constData(), size_t(text.size())) < 0) {
            return std::nullopt;
        }
        line = readSecretLine(m_fd);
    }
    if (!line) {
        // Ctrl+D: the line end the terminal did not show, so what follows starts afresh.
        if (::write(m_fd, "\n", 1) < 0) {
            return std::nullopt; // nothing more to tell a terminal that cannot be written
        }
    }
    return line;
}
