#include "diarycommand.h"

#include "toolpassword.h"
#include "toolsupport.h"

namespace tool {

DiaryCommand::DiaryCommand(const QString &description, const QList<QCommandLineOption> &options, Password password)
    : m_password(password)
{
    m_parser.setApplicationDescription(description);
    m_parser.addOption(rootOption());
    if (password != Password::None)
        m_parser.addOption(passwordFdOption());
    m_parser.addOptions(options);
}

std::optional<int> DiaryCommand::start(const QStringList &arguments, int positional)
{
    if (const auto stop = parse(arguments, positional))
        return stop;
    return open();
}

std::optional<int> DiaryCommand::parse(const QStringList &arguments, int positional)
{
    return parseOrExit(m_parser, arguments, positional);
}

std::optional<int> DiaryCommand::open()
{
    m_root = m_password == Password::Unlocks ? openedRootOption(m_parser) : dataRootOption(m_parser);
    if (!m_root)
        return dataRootFailure(m_parser);
    return std::nullopt;
}

bool DiaryCommand::claim()
{
    m_lock.emplace(*m_root);
    return claimDiary(*m_lock);
}

} // namespace tool
