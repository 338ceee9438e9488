#include "progressreport.h"

#include <cstdio>
#include <unistd.h>

namespace tool {

namespace {

constexpr int kQuietUpTo = 300;
constexpr int kTerminalSteps = 1000;
constexpr int kLogSteps = 10;

} // namespace

void ProgressReport::show(int done, int total)
{
    if (total <= kQuietUpTo)
        return;
    const qint64 step = qint64(done) * (m_terminal ? kTerminalSteps : kLogSteps) / total;
    if (step == m_step)
        return;
    m_step = step;
    const QByteArray line = m_line.arg(done).arg(total).toLocal8Bit();
    if (m_terminal)
        std::fprintf(stderr, "\r%s", line.constData());
    else
        std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
}

bool ProgressReport::isTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

void ProgressReport::finish() const
{
    if (m_terminal && m_step > 0)
        std::fputc('\n', stderr);
}

} // namespace tool
