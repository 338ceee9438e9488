#pragma once

#include <QString>

#include <QtGlobal>

namespace tool {

// A long job tells how far it is on stderr: on a terminal one line
// rewritten in place, elsewhere a line at every tenth. `line` holds %1 for
// the done and %2 for the total ("Exported %1 of %2 pages").
class ProgressReport
{
public:
    explicit ProgressReport(QString line)
        : m_line(std::move(line))
    {
    }

    void show(int done, int total);
    // Ends the rewritten line, so what follows starts a line of its own.
    void finish() const;

private:
    static bool isTerminal();

    QString m_line;
    bool m_terminal = isTerminal();
    qint64 m_step = 0;
};

} // namespace tool
