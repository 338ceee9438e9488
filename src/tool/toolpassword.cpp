#include "toolpassword.h"

#include "toolsupport.h"

#include <sodium.h>

#include <array>
#include <csignal>
#include <optional>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace tool {

namespace {

// No password is longer; a descriptor giving more without a line end is
// not giving a password, and is not read without end.
constexpr qsizetype kLongestLine = 4096;

// One line, without its line end; the buffer is wiped after use.
std::optional<QString> readLine(int fd)
{
    QByteArray line;
    line.reserve(kLongestLine);
    char c = 0;
    ssize_t got = 0;
    while (line.size() < kLongestLine && (got = ::read(fd, &c, 1)) == 1 && c != '\n')
        line.append(c);
    if ((got < 0 && line.isEmpty()) || line.size() == kLongestLine) {
        sodium_memzero(line.data(), size_t(line.size()));
        return std::nullopt;
    }
    if (line.endsWith('\r'))
        line.chop(1);
    QString text = QString::fromUtf8(line);
    sodium_memzero(line.data(), size_t(line.size()));
    return text;
}

// The terminal as it was before the prompt silenced it: a signal that ends
// the tool at its prompt gives the shell back its echo first.
int g_silencedTty = -1;
termios g_echoing{};
constexpr std::array kEndingSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT};

void restoreEchoAndEnd(int signal)
{
    ::tcsetattr(g_silencedTty, TCSANOW, &g_echoing);
    [[maybe_unused]] const ssize_t ended = ::write(g_silencedTty, "\n", 1);
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

class EchoGuard
{
public:
    EchoGuard(int tty, const termios &echoing)
    {
        g_silencedTty = tty;
        g_echoing = echoing;
        struct sigaction restore{};
        restore.sa_handler = restoreEchoAndEnd;
        sigemptyset(&restore.sa_mask);
        for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
            ::sigaction(kEndingSignals[i], &restore, &m_before[i]);
    }
    ~EchoGuard()
    {
        for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
            ::sigaction(kEndingSignals[i], &m_before[i], nullptr);
        g_silencedTty = -1;
    }
    EchoGuard(const EchoGuard &) = delete;
    EchoGuard &operator=(const EchoGuard &) = delete;

private:
    std::array<struct sigaction, kEndingSignals.size()> m_before{};
};

std::optional<QString> readFromTerminal(const QString &prompt)
{
    const int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty < 0)
        return std::nullopt;
    termios saved{};
    const bool quiet = ::tcgetattr(tty, &saved) == 0;
    std::optional<EchoGuard> guard;
    if (quiet) {
        guard.emplace(tty, saved);
        termios silent = saved;
        silent.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(tty, TCSAFLUSH, &silent);
    }
    const QByteArray shown = prompt.toLocal8Bit() + ": ";
    [[maybe_unused]] const ssize_t written = ::write(tty, shown.constData(), size_t(shown.size()));
    auto line = readLine(tty);
    if (quiet)
        ::tcsetattr(tty, TCSAFLUSH, &saved);
    guard.reset();
    [[maybe_unused]] const ssize_t ended = ::write(tty, "\n", 1);
    ::close(tty);
    return line;
}

} // namespace

QCommandLineOption passwordFdOption()
{
    return {QStringLiteral("password-fd"), QStringLiteral("Read the password from the first line of file descriptor N."),
            QStringLiteral("N")};
}

std::optional<QString> readPassword(const QCommandLineParser &parser, const QString &prompt)
{
    if (parser.isSet(QStringLiteral("password-fd"))) {
        bool ok = false;
        const int fd = parser.value(QStringLiteral("password-fd")).toInt(&ok);
        const auto line = ok && fd >= 0 ? readLine(fd) : std::nullopt;
        if (!line)
            printError(QStringLiteral("no password could be read from descriptor %1").arg(parser.value(QStringLiteral("password-fd"))));
        return line;
    }
    const auto line = readFromTerminal(prompt);
    if (!line)
        printError(QStringLiteral("the diary is encrypted: give its password on a terminal or with --password-fd N"));
    return line;
}

std::optional<KeySlotFile::Opened> openKeySlot(const KeySlotFile &file, const SecretBytes &password)
{
    auto signedIn = file.signIn(password);
    if (!signedIn) {
        printError(file.copiesDiffer() ? QStringLiteral("wrong password, or the password file is damaged: its two copies of the key differ")
                                       : QStringLiteral("wrong password"));
        return std::nullopt;
    }
    if (signedIn->mend == KeySlotFile::Mend::Mended)
        printError(QStringLiteral("one copy of the key in the password file was damaged; it has been replaced by the other"));
    else if (signedIn->mend == KeySlotFile::Mend::Failed)
        printError(QStringLiteral("one copy of the key in the password file is damaged and could not be replaced"));
    return std::move(signedIn->opened);
}

} // namespace tool
